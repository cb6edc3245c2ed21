// Code 39 drawn on a picture area of fuzzed height, read back from the top
// row of bars with the symbol table as ISO/IEC 16388 publishes it.
#include "fuzz_support.h"
#include "symbologies/retail/code39.h"

#include <algorithm>

namespace {

// The characters of a row's runs, or "?" at the first that is not one.
QString Decode(const std::vector<int>& runs) {
  if (runs.empty()) return QStringLiteral("(no bars)");
  const int narrow = *std::min_element(runs.begin(), runs.end());
  QString text;
  for (std::size_t i = 0; i < runs.size(); i += 10) {
    if (i + 9 > runs.size()) return text + QStringLiteral("?(short)");
    if (i + 9 < runs.size() && runs[i + 9] != narrow) return text + QStringLiteral("?(gap)");
    std::string elements;
    for (std::size_t k = 0; k < 9; ++k) {
      const int r = runs[i + k];
      if (r != narrow && r != 2 * narrow) return text + QStringLiteral("?(width %1)").arg(r);
      elements += r == 2 * narrow ? '1' : '0';
    }
    const auto found = std::find(std::begin(published::kCode39), std::end(published::kCode39), elements);
    if (found == std::end(published::kCode39)) return text + QStringLiteral("?(pattern)");
    text += QLatin1Char(published::kCode39Chars[found - std::begin(published::kCode39)]);
  }
  return text;
}

}  // namespace

FUZZ_STARTS_APPLICATION()

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  const int heightPx = in.Range(1, 130);
  const int check2 = in.Range(0, 1);
  QString text = in.RestUtf8();
  const QString typed = text;

  platform::PictureBox picture(nullptr, 0, 0, 3000, heightPx * 15.0);
  const symbologies::Outcome outcome = retail::DrawCode39(text, picture, check2);

  // Only a-z have upper-case forms in Code 39; nothing else may change.
  QString upper = typed;
  for (QChar& c : upper)
    if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - 32);
  const bool encodable = !upper.isEmpty() && upper.size() <= 100 &&
                         std::all_of(upper.begin(), upper.end(), [](QChar c) {
                           return c != u'*' && c.unicode() < 128 && published::Code39(c.toLatin1());
                         });
  FUZZ_CHECK(!encodable || outcome.drawn, "\"%s\" refused: %s", qPrintable(typed), qPrintable(outcome.problem));
  if (!outcome.drawn) return 0;
  const QString read = Decode(fuzz::RowRuns(picture.Image(), 0, platform::kBlack));
  FUZZ_CHECK(read == u'*' + upper + u'*', "\"%s\" drawn, read back as \"%s\"", qPrintable(typed), qPrintable(read));
  return 0;
}
