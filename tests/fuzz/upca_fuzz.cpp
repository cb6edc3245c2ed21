// UPC-A encoded and laid out: the modules, and a row of the drawn bars, read
// back as an EAN-13 with a leading 0 (the published number sets) and
// compared with the typed digits.
#include "barcode/symbol.h"
#include "fuzz_support.h"
#include "layout/lay.h"
#include "render/image.h"

FUZZ_STARTS_APPLICATION()

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  layout::Options options;
  options.textLine = in.Range(0, 1) == 1;
  const QString text = in.RestUtf8();
  QString trimmed = text;
  while (trimmed.startsWith(u' ')) trimmed.remove(0, 1);
  while (trimmed.endsWith(u' ')) trimmed.chop(1);

  const barcode::Encoded encoded = barcode::Encode(barcode::Symbology::UpcA, text);
  const bool encodable = trimmed.size() == 11 && fuzz::AllDigits(trimmed);
  FUZZ_CHECK(encoded.symbol.has_value() == encodable, "\"%s\": encoded %d (%s)", qPrintable(text),
             encoded.symbol.has_value(), qPrintable(encoded.refusal.message));
  if (!encoded.symbol) return 0;
  const std::string digits = trimmed.toStdString();
  const std::string expected = '0' + digits + published::CheckDigit(digits);
  std::vector<int> runs;
  for (const char r : published::Runs(encoded.symbol->modules)) runs.push_back(r - '0');
  const std::string modules = fuzz::DecodeEan(runs);
  FUZZ_CHECK(modules == expected, "\"%s\" encoded as \"%s\"", digits.c_str(), modules.c_str());

  const layout::Laid laid = layout::Lay(*encoded.symbol, options);
  FUZZ_CHECK(laid.drawing.has_value(), "\"%s\" not laid: %s", digits.c_str(), qPrintable(laid.refusal.message));
  // The middle of the bars, clear of the text line below them.
  const std::string drawn = fuzz::DecodeEan(fuzz::RowRuns(render::ToImage(*laid.drawing), 26, qRgb(0, 0, 0)));
  FUZZ_CHECK(drawn == expected, "\"%s\" drawn, read back as \"%s\"", digits.c_str(), drawn.c_str());
  return 0;
}
