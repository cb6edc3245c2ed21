// Every encoder and its layout on fuzz bytes. The first byte picks the
// symbology, the next ones the options, the rest is the text. A text must be refused exactly when the symbology
// cannot carry it; a symbol's modules must be those the published tables give
// for it; and the rows of the picture's bar band must read those modules, in
// whole pixels a module from the first bar to the last, where the rows just
// above and below it do not.
#include "fuzz_support.h"
#include "layout/lay.h"
#include "render/image.h"
#include "support/published_tables.h"

#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>

namespace {

using barcode::Symbology;

// Takes small numbers off the front of the fuzz bytes; the rest is the text.
struct Input {
  std::string_view rest;
  // A number from lo to hi (lo when the bytes are used up).
  int Range(int lo, int hi) {
    if (rest.empty()) return lo;
    const int n = static_cast<unsigned char>(rest.front());
    rest.remove_prefix(1);
    return lo + n % (hi - lo + 1);
  }
};

bool Digits(const std::string& s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The published symbol of a typed text, "" where the symbology cannot carry it.
std::string Published(Symbology symbology, const QString& typed) {
  std::string text = typed.toStdString();
  switch (symbology) {
    case Symbology::Code39:  // only a-z have upper-case forms in Code 39
      for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
      return text.empty() || text.find('*') != std::string::npos ? "" : published::Code39Symbol(text);
    case Symbology::Interleaved2of5: {  // two digits or more; an odd count takes a leading 0
      const bool digits = Digits(text) && text.size() >= 2;
      if (text.size() % 2) text.insert(0, "0");
      return digits && text.size() <= 20 ? published::I25Symbol(text) : "";
    }
    case Symbology::UpcA:  // spaces trimmed
      text.erase(0, text.find_first_not_of(' '));
      text.erase(text.find_last_not_of(' ') + 1);
      return Digits(text) && text.size() == 11 ? published::EanSymbol('0' + text) : "";
    case Symbology::Ean:
      return Digits(text) && (text.size() == 7 || text.size() == 12) ? published::EanSymbol(text) : "";
    default: {  // Code 128-1 space to "~", Code 128 B 32-127 and FNC 3, FNC 2, FNC 4 and FNC 1 at their
                // Windows-1252 codes; a value times its position at most 32767
      const bool b = symbology == Symbology::Code128B;
      std::vector<int> values;
      for (const QChar c : typed) {
        const int u = c.unicode();
        const int value = u < 128 || !b ? u - 32 : u == 179 ? 96 : u == 178 ? 97 : u == 188 ? 100 : u == 185 ? 102 : -1;
        if (value < 0 || (!b && value > 94) || value * static_cast<int>(values.size() + 1) > 32767) return {};
        values.push_back(value);
      }
      return values.empty() ? "" : published::Code128Symbol(values);
    }
  }
}

// Row y of image as modules of `unit` pixels from its first black pixel to
// its last; "?" where a module's pixels differ.
std::string RowModules(const QImage& image, int y, int unit) {
  std::string px;
  for (int x = 0; y >= 0 && y < image.height() && x < image.width(); ++x)
    px += image.pixel(x, y) == 0xFF000000 ? '1' : '0';
  if (px.find('1') == std::string::npos || unit < 1) return {};
  px.erase(px.rfind('1') + 1).erase(0, px.find('1'));
  std::string modules;
  for (std::size_t x = 0; x < px.size(); x += static_cast<std::size_t>(unit)) {
    const std::string cell = px.substr(x, static_cast<std::size_t>(unit));
    if (cell != std::string(static_cast<std::size_t>(unit), cell[0])) return "?";
    modules += cell[0];
  }
  return modules;
}

// The band of `rows` rows from top reads modules; the rows around it do not.
void CheckBand(const QImage& image, int top, int rows, int unit, const std::string& modules) {
  for (const int y : {top - 1, top, top + rows / 2, top + rows - 1, top + rows}) {
    const std::string read = RowModules(image, y, unit);
    FUZZ_CHECK((read == modules) == (y >= top && y < top + rows), "row %d reads %s, not %s", y, read.c_str(),
               modules.c_str());
  }
}

}  // namespace

// The layouts measure text: an application, offscreen, for the whole run.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "fuzz";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in{{reinterpret_cast<const char*>(data), size}};
  const auto symbology = static_cast<Symbology>(in.Range(0, 5));
  layout::Options options;
  options.barHeight = in.Range(1, 250) / 10.0;
  options.textLine = in.Range(0, 1) == 1;
  options.fontSize = in.Range(1, 144);
  options.captionFontSize = in.Range(1, 72);
  // 0: no stretch; else 10 to 2550 pixels for the 800 drawn (80: 800).
  if (const int width = in.Range(0, 255)) options.stretchWidth = width * 10.0;
  const QString text = QString::fromUtf8(in.rest.data(), static_cast<qsizetype>(in.rest.size()));

  const std::string expected = Published(symbology, text);
  const barcode::Encoded encoded = barcode::Encode(symbology, text);
  FUZZ_CHECK(encoded.symbol.has_value() == !expected.empty(), "%s", qPrintable(encoded.refusal.message));
  if (!encoded.symbol) {
    // Code 39 names the character it cannot carry.
    FUZZ_CHECK(text.isEmpty() || (!encoded.refusal.message.isEmpty() &&
                                  (symbology != Symbology::Code39 || encoded.refusal.position >= 0)),
               "%s", qPrintable(encoded.refusal.message));
    return 0;
  }
  FUZZ_CHECK(encoded.symbol->modules == expected, "modules %s", encoded.symbol->modules.c_str());

  const layout::Laid laid = layout::Lay(*encoded.symbol, options);
  if (!laid.drawing) {  // wider than a picture can be
    FUZZ_CHECK(laid.refusal.message.contains(QStringLiteral("too long")), "%s", qPrintable(laid.refusal.message));
    return 0;
  }
  const QImage image = render::ToImage(*laid.drawing);
  // Code 39 from the top, without a text line to the picture's end; Code 128
  // B 40 rows from row 1; UPC-A rows 13 to 39; EAN's data bars rows 10 to 57;
  // the patterns from row 20, the bar height box's tenth of a pixel, at
  // least the printable floor.
  const int patternRows = std::max(barcode::kMinBarPixels, static_cast<int>(std::lround(options.barHeight * 10))) + 1;
  const auto [top, rows] = symbology == Symbology::Code39
                               ? std::pair{0, options.textLine ? laid.drawing->bars.front().height() : image.height()}
                           : symbology == Symbology::Code128B ? std::pair{1, 40}
                           : symbology == Symbology::UpcA     ? std::pair{13, 27}
                           : symbology == Symbology::Ean  ? std::pair{10, 48}
                                                          : std::pair{20, patternRows};
  CheckBand(image, top, rows, laid.drawing->modulePixels, expected);
  return 0;
}
