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

// White space a picture takes along where it leaves the program (copied,
// saved, exported), so that it scans next to anything dark: `modules` of the
// drawing's modulePixels left and right, two above and below (as many as
// `modules` when fewer); 0 leaves the drawing as it is. Every bar and text
// moves by the margins and the size grows by them; nothing else changes.
inline constexpr int kQuietZoneModules = 10;
Drawing WithQuietZone(Drawing drawing, int modules = kQuietZoneModules);

}  // namespace layout
