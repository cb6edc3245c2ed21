// Code 128 B and Interleaved 2 of 5 through DrawPatternBarcode at fuzzed
// module widths and positions: the bars measured in the image must be the
// symbol built here from the published width tables.
#include "fuzz_support.h"
#include "symbologies/code128/pattern_barcode.h"

namespace {

// Start B, one value per character, the modulo-103 check, the stop; empty
// when a character is outside 32-126 (code set B has no symbol for it) or a
// weighted value passes 32767.
std::string Code128BWidths(const QString& text) {
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
  const auto moduleWidth = static_cast<std::int16_t>(in.Range(1, 4));
  const int barHeight = in.Range(1, 40);
  const int left = in.Range(0, 20);
  const int top = in.Range(0, 10);
  const int check2 = in.Range(0, 1);
  QString text = in.RestUtf8();
  const QString typed = text;

  platform::PictureBox picture(nullptr, 0, 0, 1500, 1500);
  picture.SetScaleMode(platform::ScaleMode::Pixels);
  const symbologies::Outcome outcome = code128::DrawPatternBarcode(
      code128 ? QStringLiteral("128") : QStringLiteral("25"), text, picture, moduleWidth, static_cast<float>(barHeight),
      static_cast<float>(left), static_cast<float>(top), check2);

  std::string expected;
  if (code128) {
    expected = Code128BWidths(typed);
  } else {
    const QString digits = typed.size() % 2 ? typed + u'0' : typed;
    if (digits.size() <= 20 && fuzz::AllDigits(digits)) expected = Interleaved2of5Widths(digits);
  }
  FUZZ_CHECK(outcome.drawn == !expected.empty(), "\"%s\": drawn %d (%s)", qPrintable(typed), outcome.drawn,
             qPrintable(outcome.problem));
  if (!outcome.drawn) return 0;
  for (const int y : {top, top + barHeight / 2}) {
    const std::vector<int> runs = fuzz::RowRuns(picture.Image(), y, platform::kBlack);
    const std::string read = fuzz::ModuleWidths(runs, moduleWidth);
    FUZZ_CHECK(read == expected, "\"%s\" row %d reads %s, not %s", qPrintable(typed), y, read.c_str(),
               expected.c_str());
    FUZZ_CHECK(runs.size() == expected.size(), "row %d has %zu runs", y, runs.size());
  }
  return 0;
}
