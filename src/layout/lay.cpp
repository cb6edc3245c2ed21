#include "layout/lay.h"

#include "layout/code128_caption.h"
#include "layout/pattern.h"
#include "layout/retail_layouts.h"

namespace layout {

Laid Lay(const barcode::Symbol& symbol, const Options& options) {
  switch (symbol.symbology) {
    case barcode::Symbology::Code39:
      return LayCode39(symbol, options);
    case barcode::Symbology::UpcA:
      return LayUpcA(symbol, options);
    case barcode::Symbology::Ean:
      return LayEan(symbol);
    case barcode::Symbology::Code128B:
      return LayCode128B(symbol, options);
    case barcode::Symbology::Code128Pattern:
    case barcode::Symbology::Interleaved2of5:
      return LayPattern(symbol, options);
  }
  return {std::nullopt, {}};  // not reached: every symbology has its case
}

Laid LayText(barcode::Symbology symbology, const QString& text, const Options& options) {
  const barcode::Encoded encoded = barcode::Encode(symbology, text);
  if (!encoded.symbol) return {std::nullopt, encoded.refusal};
  return Lay(*encoded.symbol, options);
}

}  // namespace layout
