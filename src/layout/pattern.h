#pragma once
// "Code 128-1" and "Code 2/5": bars drawn from the module widths, the text
// line under them, and the width stretch.
#include "barcode/symbol.h"
#include "layout/lay.h"
#include "layout/options.h"

namespace layout {

// Two pixels a module from x 1 (spaces at their nominal width), bars from y
// 20, ten pixels a unit of the bar height but never under
// barcode::kMinBarPixels; with the text line, the data at 16 points from
// (1, 24 + bar height). The picture ends one pixel right of the last bar and
// at the bars' last row, or a row below the text line's height. The width
// stretch, when options.stretchWidth is set and not 800, makes each module the
// whole number of pixels nearest to 2 * width / 800 (at least 1), with one
// module of white left and right of the bars; the text line is stretched with
// the bars. Refused: a drawing wider or taller than 32767 pixels.
Laid LayPattern(const barcode::Symbol& symbol, const Options& options);

}  // namespace layout
