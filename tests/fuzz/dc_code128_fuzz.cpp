// The device-context Code 128 renderer with a fuzzed record: a refused record
// leaves the image untouched, and every image row that holds bar colour must
// read as the symbol built here (Start B, the characters, the optional check
// character, the stop) from the published width table, for as many rows as
// the bar height.
#include "fuzz_support.h"
#include "platform/ansi.h"
#include "symbologies/code128/dc_code128.h"
#include "symbologies/code128/pattern_barcode.h"

namespace {

// The value of an ANSI code: 32-127 in code set B, and the four function
// characters; -1 for any other.
int Value(unsigned char c) {
  if (c >= 32 && c <= 127) return c - 32;
  switch (c) {
    case 179: return 96;   // FNC 3
    case 178: return 97;   // FNC 2
    case 188: return 100;  // FNC 4
    case 185: return 102;  // FNC 1
    default: return -1;
  }
}

std::string Widths(const QByteArray& ansi, bool checkCharacter) {
  const std::vector<std::string>& table = fuzz::Code128Table();
  std::string widths = table[104];
  long sum = 104, position = 0;
  for (const char c : ansi) {
    const int v = Value(static_cast<unsigned char>(c));
    sum += v * ++position;
    widths += table[static_cast<std::size_t>(v)];
  }
  if (checkCharacter) widths += table[static_cast<std::size_t>(sum % 103)];
  return widths + table[106];
}

}  // namespace

FUZZ_STARTS_APPLICATION()

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace platform::gdi;
  fuzz::Input in(data, size);
  code128::Code128Spec spec;
  spec.Symbology = in.Range(15, 16);
  spec.Alignment = in.Range(0, 5);
  spec.TextPosition = in.Range(0, 3);
  spec.FontSize = in.Range(0, 24);
  spec.FontStyle = in.Range(-1, 16);
  spec.BarHeight = in.Range(-1, 40);
  spec.Left = in.Range(0, 20);
  spec.Top = in.Range(0, 20);
  spec.ModuleWidth = in.Range(-1, 3);
  spec.TextGap = in.Range(0, 10);
  spec.Orientation = in.Range(-1, 4);
  spec.CheckCharacter = in.Range(0, 1);
  spec.FontName = in.Range(0, 7) ? QStringLiteral("DejaVu Sans") : QString();
  spec.BarColor = RGB(0, 0, 0);
  spec.BackColor = RGB(255, 255, 255);
  spec.TextColor = RGB(255, 0, 0);  // never the bar colour, antialiased or not
  // The data, then after a 0 byte the caption, both ANSI.
  const std::string rest = in.Rest();
  const std::size_t nul = std::min(rest.find('\0'), rest.size());
  const QByteArray ansiData = QByteArray::fromStdString(rest.substr(0, std::min<std::size_t>(nul, 60)));
  spec.Data = platform::FromAnsi(ansiData);
  spec.Caption = nul < rest.size() ? platform::FromAnsi(QByteArray::fromStdString(rest.substr(nul + 1, 60))) : QString();

  QImage image(2400, 120, QImage::Format_RGB32);
  image.fill(0xFF808080);
  const QImage before = image;
  std::int32_t result = 0;
  {
    DeviceContext hdc(image);
    result = code128::DrawCode128(spec, hdc);
  }
  const bool badCharacter = std::any_of(ansiData.begin(), ansiData.end(),
                                        [](char c) { return Value(static_cast<unsigned char>(c)) < 0; });
  FUZZ_CHECK(!badCharacter || result == code128::kBadCharacter, "bad character accepted: result %d", result);
  if (result != 0 || spec.Data.isEmpty()) {
    FUZZ_CHECK(image == before, "result %d, yet the image was drawn on", result);
    return 0;
  }
  // Turned records draw no bars (only the upright symbol is drawn).
  if (spec.Orientation != 0) return 0;
  const std::string expected = Widths(platform::ToAnsi(spec.Data).bytes, spec.CheckCharacter == 1);
  int barRows = 0;
  for (int y = 0; y < image.height(); ++y) {
    const std::vector<int> runs = fuzz::RowRuns(image, y, ToQRgb(spec.BarColor));
    if (runs.empty()) continue;
    ++barRows;
    const std::string read = fuzz::ModuleWidths(runs, spec.ModuleWidth);
    FUZZ_CHECK(read == expected, "row %d reads %s, not %s", y, read.c_str(), expected.c_str());
  }
  FUZZ_CHECK(barRows == spec.BarHeight, "%d rows of bars for a bar height of %d", barRows, spec.BarHeight);
  return 0;
}
