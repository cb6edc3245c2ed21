#pragma once
// A drawing painted as vectors (PDF, SVG, printing): each bar a filled
// rectangle and each text real text, at whatever resolution the painter's
// device has. The painter's coordinates are picture pixels (the caller sets
// the transform that places and scales them).
#include "layout/drawing.h"

class QPainter;

namespace render {

// Paints the drawing over a white background when whiteBackground says so;
// the painter's state is restored afterwards.
void Paint(QPainter& painter, const layout::Drawing& drawing, bool whiteBackground);

// One text item in black, stretched as it says; the painter's state is
// restored afterwards.
void PaintText(QPainter& painter, const layout::TextItem& item);

}  // namespace render
