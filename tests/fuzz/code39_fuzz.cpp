// Code 39 encoded and laid out at a fuzzed bar height and font size: the
// modules, and the top row of the drawn bars, read back with the symbol table
// as ISO/IEC 16388 publishes it.
#include "barcode/symbol.h"
#include "fuzz_support.h"
#include "layout/lay.h"
#include "render/image.h"

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

// The runs of a module string, bar first.
std::vector<int> RunsOf(const std::string& modules) {
  std::vector<int> runs;
  for (const char r : published::Runs(modules)) runs.push_back(r - '0');
  return runs;
}

}  // namespace

FUZZ_STARTS_APPLICATION()

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  layout::Options options;
  options.barHeight = in.Range(1, 250) / 10.0;
  options.textLine = in.Range(0, 1) == 1;
  options.fontSize = in.Range(1, 144);
  const QString typed = in.RestUtf8();

  const barcode::Encoded encoded = barcode::Encode(barcode::Symbology::Code39, typed);
  // Only a-z have upper-case forms in Code 39; nothing else may change.
  QString upper = typed;
  for (QChar& c : upper)
    if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - 32);
  const bool encodable = !upper.isEmpty() && std::all_of(upper.begin(), upper.end(), [](QChar c) {
    return c != u'*' && c.unicode() < 128 && published::Code39(c.toLatin1());
  });
  FUZZ_CHECK(encodable == encoded.symbol.has_value(), "\"%s\": encoded %d (%s)", qPrintable(typed),
             encoded.symbol.has_value(), qPrintable(encoded.refusal.message));
  if (!encoded.symbol) {
    FUZZ_CHECK(typed.isEmpty() || encoded.refusal.position >= 0, "\"%s\" refused without a position", qPrintable(typed));
    return 0;
  }
  const QString expected = u'*' + upper + u'*';
  const QString modules = Decode(RunsOf(encoded.symbol->modules));
  FUZZ_CHECK(modules == expected, "\"%s\" encoded as \"%s\"", qPrintable(typed), qPrintable(modules));

  const layout::Laid laid = layout::Lay(*encoded.symbol, options);
  if (!laid.drawing) {
    FUZZ_CHECK(laid.refusal.message.contains(QStringLiteral("too long")), "\"%s\" not laid: %s", qPrintable(typed),
               qPrintable(laid.refusal.message));
    return 0;
  }
  const QString drawn = Decode(fuzz::RowRuns(render::ToImage(*laid.drawing), 0, qRgb(0, 0, 0)));
  FUZZ_CHECK(drawn == expected, "\"%s\" drawn, read back as \"%s\"", qPrintable(typed), qPrintable(drawn));
  return 0;
}
