// Code 39 drawn on a picture area of fuzzed height, read back from the top
// row of bars with the symbol table as ISO/IEC 16388 publishes it.
#include "fuzz_support.h"
#include "symbologies/retail/code39.h"

#include <algorithm>
#include <cstring>

namespace {

// The characters and their nine elements (bar, space, ..., bar), a set bit
// for a wide element, the first element in the highest bit.
constexpr char kChars[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%*";
constexpr int kElements[] = {
    0x034, 0x121, 0x061, 0x160, 0x031, 0x130, 0x070, 0x025, 0x124, 0x064, 0x109, 0x049, 0x148, 0x019, 0x118,
    0x058, 0x00D, 0x10C, 0x04C, 0x01C, 0x103, 0x043, 0x142, 0x013, 0x112, 0x052, 0x007, 0x106, 0x046, 0x016,
    0x181, 0x0C1, 0x1C0, 0x091, 0x190, 0x0D0, 0x085, 0x184, 0x0C4, 0x0A8, 0x0A2, 0x08A, 0x02A, 0x094};

// The characters of a row's runs, or "?" at the first that is not one.
QString Decode(const std::vector<int>& runs) {
  if (runs.empty()) return QStringLiteral("(no bars)");
  const int narrow = *std::min_element(runs.begin(), runs.end());
  QString text;
  for (std::size_t i = 0; i < runs.size(); i += 10) {
    if (i + 9 > runs.size()) return text + QStringLiteral("?(short)");
    if (i + 9 < runs.size() && runs[i + 9] != narrow) return text + QStringLiteral("?(gap)");
    int bits = 0;
    for (std::size_t k = 0; k < 9; ++k) {
      const int r = runs[i + k];
      if (r != narrow && r != 2 * narrow) return text + QStringLiteral("?(width %1)").arg(r);
      bits = bits << 1 | (r == 2 * narrow ? 1 : 0);
    }
    const int* found = std::find(std::begin(kElements), std::end(kElements), bits);
    if (found == std::end(kElements)) return text + QStringLiteral("?(pattern)");
    text += QLatin1Char(kChars[found - kElements]);
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::StartApplication();
  return 0;
}

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
                           return c != u'*' && c.unicode() < 128 && std::strchr(kChars, c.toLatin1()) && c != QChar(0);
                         });
  FUZZ_CHECK(!encodable || outcome.drawn, "\"%s\" refused: %s", qPrintable(typed), qPrintable(outcome.problem));
  if (!outcome.drawn) return 0;
  const QString read = Decode(fuzz::RowRuns(picture.Image(), 0, platform::kBlack));
  FUZZ_CHECK(read == u'*' + upper + u'*', "\"%s\" drawn, read back as \"%s\"", qPrintable(typed), qPrintable(read));
  return 0;
}
