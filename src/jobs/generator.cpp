#include "jobs/generator.h"

#include "layout/lay.h"
#include "render/image.h"

namespace jobs {

Generated Generate(barcode::Symbology symbology, const QString& text, const layout::Options& options) {
  const barcode::Encoded encoded = barcode::Encode(symbology, text);
  layout::Laid laid = encoded.symbol ? layout::Lay(*encoded.symbol, options) : layout::Laid{{}, encoded.refusal};
  Generated generated;
  if (!laid.drawing) {
    generated.refusal = std::move(laid.refusal);
    return generated;
  }
  generated.note = encoded.symbol->note;
  generated.picture = render::ToImage(*laid.drawing);
  generated.drawing = std::move(laid.drawing);
  return generated;
}

Generated WithQuietZone(const Generated& generated, int modules) {
  if (!generated.Drawn() || modules <= 0) return generated;
  Generated zoned = generated;
  zoned.drawing = layout::WithQuietZone(*generated.drawing, modules);
  zoned.picture = render::ToImage(*zoned.drawing);
  return zoned;
}

}  // namespace jobs
