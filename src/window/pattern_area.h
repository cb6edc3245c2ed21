#pragma once
// The "Code 128-1" and "Code 2/5" branches of the generate command: the
// pattern barcode drawn on Picture5, then stretched to the width box.
#include "platform/picture_box.h"
#include "symbologies/outcome.h"

namespace window {

class MainWindow;

// Shows Picture5, draws the text of Text1 with the selector ("128" or "25")
// (bars ten pixels per unit of the height box, at least kMinBarPixels) and
// stretches the result by Text9.
symbologies::Outcome DrawPatternArea(MainWindow& window, const QString& selector);

// The width stretch of Picture5 (through Picture4), towards widthText pixels
// for the 800-pixel reference: every module becomes a whole number of pixels,
// at least 1, the one nearest to moduleWidth * widthText / 800. The whole
// drawing is scaled, so nothing is cut off. An empty width box, one that is
// not a number, or 800 leave the drawing as it is.
void StretchToWidth(const QString& widthText, platform::PictureBox& Picture5, platform::PictureBox& Picture8,
                    platform::PictureBox& Picture4, int moduleWidth, double left);

}  // namespace window
