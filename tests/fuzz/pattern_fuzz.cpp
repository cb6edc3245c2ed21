// Code 128-1 and Interleaved 2 of 5 encoded and laid out at fuzzed bar
// heights, text lines and stretch widths: a text is drawn exactly when the
// symbology can carry it, its modules are the symbol built here from the
// published tables, and every bar row of the picture reads that symbol in
// whole pixels a module.
#include "barcode/symbol.h"
#include "fuzz_support.h"
#include "layout/lay.h"
#include "render/image.h"

namespace {

constexpr QRgb kBlack = 0xFF000000;  // the bars of render::ToImage

// Start B, one value per character, the modulo-103 check, the stop; empty
// for an empty text, when a character is outside 32-126 (code set B has no
// symbol for it) or a weighted value passes 32767.
std::string Code128BWidths(const QString& text) {
  if (text.isEmpty()) return {};
  const std::vector<std::string>& table = fuzz::Code128Table();
  std::string widths = table[104];
  long sum = 104;
  long position = 0;
  for (const QChar c : text) {
    if (c.unicode() < 32 || c.unicode() > 126) return {};
    const int value = c.unicode() - 32;
    if (value * ++position > 32767) return {};
    sum += value * position;
    widths += table[static_cast<std::size_t>(value)];
  }
  return widths + table[static_cast<std::size_t>(sum % 103)] + table[106];
}

// Narrow 1, wide 3: start 1111, digit pairs interleaved, stop 311.
std::string Interleaved2of5Widths(const QString& digits) {
  std::string widths = "1111";
  for (qsizetype i = 0; i + 1 < digits.size(); i += 2)
    for (int k = 0; k < 5; ++k) {
      for (const QChar d : {digits[i], digits[i + 1]}) widths += published::kI25[d.unicode() - '0'][k] == 'W' ? '3' : '1';
    }
  return widths + "311";
}

}  // namespace

FUZZ_STARTS_APPLICATION()

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  const bool code128 = in.Range(0, 1) == 1;
  layout::Options options;
  // 0: no stretch; else 10 to 2550 pixels for the 800 drawn (80: 800).
  if (const int width = in.Range(0, 255)) options.stretchWidth = width * 10.0;
  options.barHeight = in.Range(1, 250) / 10.0;
  options.textLine = in.Range(0, 1) == 1;
  const QString text = in.RestUtf8();

  std::string expected;
  if (code128) {
    expected = Code128BWidths(text);
  } else {
    const QString digits = text.size() % 2 ? QStringLiteral("0") + text : text;
    if (text.size() >= 2 && digits.size() <= 20 && fuzz::AllDigits(digits)) expected = Interleaved2of5Widths(digits);
  }
  const auto symbology = code128 ? barcode::Symbology::Code128Pattern : barcode::Symbology::Interleaved2of5;
  const barcode::Encoded encoded = barcode::Encode(symbology, text);
  FUZZ_CHECK(encoded.symbol.has_value() == !expected.empty(), "\"%s\": encoded %d (%s)", qPrintable(text),
             encoded.symbol.has_value(), qPrintable(encoded.refusal.message));
  if (!encoded.symbol) return 0;
  FUZZ_CHECK(published::Runs(encoded.symbol->modules) == expected, "\"%s\": modules %s", qPrintable(text),
             encoded.symbol->modules.c_str());

  const layout::Laid laid = layout::Lay(*encoded.symbol, options);
  if (!laid.drawing) return 0;  // wider than a picture can be
  const QImage image = render::ToImage(*laid.drawing);
  // The start's first bar is 2 modules (Code 128) or 1 (2 of 5) wide.
  const std::vector<int> first = fuzz::RowRuns(image, 20, kBlack);
  FUZZ_CHECK(!first.empty(), "no bars in row 20");
  const int module = first[0] / (code128 ? 2 : 1);
  const int rows = std::max(24, static_cast<int>(std::lround(options.barHeight * 10))) + 1;
  for (const int y : {19, 20, 20 + rows / 2, 19 + rows, 20 + rows}) {
    const std::string read = fuzz::ModuleWidths(fuzz::RowRuns(image, y, kBlack), module);
    const bool band = y >= 20 && y < 20 + rows;
    FUZZ_CHECK((read == expected) == band, "\"%s\" row %d reads %s, not %s", qPrintable(text), y, read.c_str(),
               expected.c_str());
  }
  return 0;
}
