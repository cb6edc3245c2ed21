#pragma once
// The options that shape a picture, as numbers: what the generate command
// reads of the size boxes and check boxes.
#include <optional>

namespace layout {

struct Options {
  // The bar height box, 0.1 to 25: 40 pixels a unit for Code 39, 10 for
  // Code 128-1 and Code 2/5 (never under barcode::kMinBarPixels).
  double barHeight = 1.4;
  // The text line's size in points, 1 to 144 (Code 39).
  double fontSize = 8;
  // The Code 128 B caption's size in whole points; 0 or below is refused.
  int captionFontSize = 8;
  // "Include Text in Bar Code".
  bool textLine = false;
  // The width box: pixels for every 800 drawn by Code 128-1 and Code 2/5;
  // none (empty, not a number) or 800 leaves them as drawn.
  std::optional<double> stretchWidth;
};

}  // namespace layout
