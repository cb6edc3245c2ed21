#pragma once
// Symbol + options -> the finished picture's drawing, with each symbology's
// geometry. The same symbol and options always give the same drawing.
#include "barcode/symbol.h"
#include "layout/drawing.h"
#include "layout/options.h"

#include <optional>

namespace layout {

// A drawing, or why the symbol cannot be drawn with these options (too wide
// for a picture, a font size the caption cannot have).
struct Laid {
  std::optional<Drawing> drawing;
  barcode::Refusal refusal;  // when there is no drawing
};

Laid Lay(const barcode::Symbol& symbol, const Options& options);

// Encode and Lay in one: the text's drawing, or the refusal of either step.
Laid LayText(barcode::Symbology symbology, const QString& text, const Options& options);

}  // namespace layout
