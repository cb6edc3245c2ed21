#pragma once
// The generate command without a window: a text and the options -> the
// finished picture (its drawing and its image), or why there is none.
#include "barcode/symbol.h"
#include "layout/drawing.h"
#include "layout/options.h"

#include <QImage>

#include <optional>

namespace jobs {

struct Generated {
  std::optional<layout::Drawing> drawing;
  QImage picture;            // the drawing as an image; null when refused
  barcode::Refusal refusal;  // why there is none ("" for an empty text)
  QString note;              // the symbol's note: what was encoded, where not what was typed
  bool Drawn() const { return drawing.has_value(); }
};

Generated Generate(barcode::Symbology symbology, const QString& text, const layout::Options& options);

// The barcode with white around it: modules modules of its own width left
// and right, and two above and below (nothing added for 0), as the picture
// leaves the program (the clipboard, a picture file) to scan next to
// anything dark. A refusal stays as it is.
Generated WithQuietZone(const Generated& generated, int modules);

}  // namespace jobs
