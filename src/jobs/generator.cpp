#include "jobs/generator.h"

#include "layout/lay.h"
#include "render/image.h"

namespace jobs {

Generated Generate(barcode::Symbology symbology, const QString& text, const layout::Options& options) {
  layout::Laid laid = layout::LayText(symbology, text, options);
  Generated generated;
  if (!laid.drawing) {
    generated.refusal = std::move(laid.refusal);
    return generated;
  }
  generated.picture = render::ToImage(*laid.drawing);
  generated.drawing = std::move(laid.drawing);
  return generated;
}

}  // namespace jobs
