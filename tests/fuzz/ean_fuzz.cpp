// EAN-13 and EAN-8 encoded and laid out: the modules, and the first row of
// the drawn bars, read back with the published number sets and compared with
// the typed digits.
#include "barcode/symbol.h"
#include "fuzz_support.h"
#include "layout/lay.h"
#include "render/image.h"

FUZZ_STARTS_APPLICATION()

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  const QString code = in.RestUtf8();

  const barcode::Encoded encoded = barcode::Encode(barcode::Symbology::Ean, code);
  const bool encodable = (code.size() == 12 || code.size() == 7) && fuzz::AllDigits(code);
  FUZZ_CHECK(encoded.symbol.has_value() == encodable, "\"%s\": encoded %d (%s)", qPrintable(code),
             encoded.symbol.has_value(), qPrintable(encoded.refusal.message));
  if (!encoded.symbol) return 0;
  const std::string digits = code.toStdString();
  const std::string expected = digits + published::CheckDigit(digits);
  std::vector<int> runs;
  for (const char r : published::Runs(encoded.symbol->modules)) runs.push_back(r - '0');
  const std::string modules = fuzz::DecodeEan(runs);
  FUZZ_CHECK(modules == expected, "\"%s\" encoded as \"%s\"", digits.c_str(), modules.c_str());

  const layout::Laid laid = layout::Lay(*encoded.symbol, {});
  FUZZ_CHECK(laid.drawing.has_value(), "\"%s\" not laid: %s", digits.c_str(), qPrintable(laid.refusal.message));
  const std::string drawn = fuzz::DecodeEan(fuzz::RowRuns(render::ToImage(*laid.drawing), 10, qRgb(0, 0, 0)));
  FUZZ_CHECK(drawn == expected, "\"%s\" drawn, read back as \"%s\"", digits.c_str(), drawn.c_str());
  return 0;
}
