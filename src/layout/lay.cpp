#include "layout/lay.h"

#include "layout/code128_caption.h"
#include "layout/pattern.h"
#include "layout/retail_layouts.h"

#include <algorithm>
#include <cmath>

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

Drawing WithQuietZone(Drawing drawing, int modules) {
  modules = std::max(modules, 0);
  const int dx = modules * drawing.modulePixels;
  const int dy = std::min(modules, 2) * drawing.modulePixels;
  drawing.size += QSize(2 * dx, 2 * dy);
  for (QRect& bar : drawing.bars) bar.translate(dx, dy);
  for (TextItem& text : drawing.texts) {
    text.baseline.ry() += dy;
    if (!text.clip.isNull()) text.clip.translate(0, dy);
    HorizontalStretch& s = text.stretch;
    if (!s.Identity() && s.to > 0 && qint64{dx} * s.from % s.to == 0) {
      // Whole columns before the stretch (a layout's stretch is a whole
      // module): moving its origin moves the text pixel for pixel with the bars.
      s.origin -= static_cast<int>(qint64{dx} * s.from / s.to);
    } else {
      const double shift = static_cast<double>(dx) * s.from / std::max(s.to, 1);
      text.baseline.rx() += shift;
      if (!text.clip.isNull()) text.clip.translate(static_cast<int>(std::lround(shift)), 0);
    }
  }
  return drawing;
}

}  // namespace layout
