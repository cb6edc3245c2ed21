// The captioned Code 128 B with a fuzzed record, data and caption: a text is
// refused exactly when it holds a character outside the set; a symbol's
// modules are Start B, the characters, the check and the stop of the
// published table; drawn, every row of the bar band reads that symbol (less
// the check character when the record omits it) and no bar leaves the
// picture.
#include "barcode/code128.h"
#include "barcode/code_page.h"
#include "fuzz_support.h"
#include "layout/code128_caption.h"
#include "render/image.h"

namespace {

constexpr QRgb kBlack = 0xFF000000;  // the bars of render::ToImage

// The value of a Windows-1252 code: 32-127 in code set B, and the four
// function characters; -1 for any other.
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
  fuzz::Input in(data, size);
  layout::Code128Record record;
  record.alignment = layout::Code128Alignment{in.Range(0, 5)};
  record.textPosition = layout::Code128TextPosition{in.Range(0, 3)};
  record.fontSize = in.Range(0, 24);
  record.fontStyle = in.Range(-1, 16);
  record.barHeight = in.Range(-1, 40);
  record.left = in.Range(0, 20);
  record.top = in.Range(0, 20);
  record.moduleWidth = in.Range(-1, 3);
  record.textGap = in.Range(0, 10);
  record.orientation = in.Range(-1, 4);
  record.checkCharacter = in.Range(0, 1) == 1;
  record.fontName = in.Range(0, 7) ? QStringLiteral("DejaVu Sans") : QString();
  // The data, then after a 0 byte the caption, both Windows-1252.
  const std::string rest = in.Rest();
  const std::size_t nul = std::min(rest.find('\0'), rest.size());
  const QByteArray ansiData = QByteArray::fromStdString(rest.substr(0, std::min<std::size_t>(nul, 60)));
  record.caption = nul < rest.size() ? barcode::FromAnsi(QByteArray::fromStdString(rest.substr(nul + 1, 60))) : QString();

  const barcode::Encoded encoded = barcode::Encode(barcode::Symbology::Code128B, barcode::FromAnsi(ansiData));
  const bool badCharacter = std::any_of(ansiData.begin(), ansiData.end(),
                                        [](char c) { return Value(static_cast<unsigned char>(c)) < 0; });
  FUZZ_CHECK(encoded.symbol.has_value() == (!ansiData.isEmpty() && !badCharacter), "refused: %s",
             qPrintable(encoded.refusal.message));
  FUZZ_CHECK(!badCharacter || encoded.refusal.boxText == barcode::kCode128BErrorBox, "no message box");
  if (!encoded.symbol) return 0;
  const std::string expected = Widths(ansiData, record.checkCharacter);
  FUZZ_CHECK(published::Runs(encoded.symbol->modules) == Widths(ansiData, true), "modules %s",
             encoded.symbol->modules.c_str());
  if (layout::CheckCode128(record) != layout::Code128Fault::None) return 0;

  const layout::Code128Geometry g = layout::LayCode128Record(*encoded.symbol, record);
  const QRect picture(QPoint(0, 0), g.drawing.size);
  for (const QRect& bar : g.drawing.bars) FUZZ_CHECK(picture.contains(bar), "a bar outside the picture");
  // A turned caption draws nothing.
  if (record.orientation != 0) {
    FUZZ_CHECK(g.drawing.bars.empty() && g.drawing.texts.empty() && !g.total, "turned, yet drawn");
    return 0;
  }
  const QImage image = render::ToImage(g.drawing);
  for (int y = g.barOrigin.y() - 1; y <= g.barOrigin.y() + record.barHeight; ++y) {
    const std::string read = fuzz::ModuleWidths(fuzz::RowRuns(image, y, kBlack), record.moduleWidth);
    const bool band = y >= g.barOrigin.y() && y < g.barOrigin.y() + record.barHeight;
    FUZZ_CHECK((read == expected) == band, "row %d reads %s, not %s (bars from row %d)", y, read.c_str(),
               expected.c_str(), g.barOrigin.y());
  }
  return 0;
}
