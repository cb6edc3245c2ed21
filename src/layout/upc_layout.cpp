// UPC-A: a fixed picture of 5055 x 1095 twips, one pixel a module, the text
// line at a fixed place below the bars.
#include "layout/retail_layouts.h"

#include <QFontMetrics>

namespace layout {

namespace {

constexpr QSize kPicture(337, 73);  // 5055 x 1095 twips
// The pen starts at 248 twips and moves 15 a module: module i lands on
// pixel column 17 + i.
constexpr int kFirstModuleX = 17;
// Bars from 200 twips down through 400: rows 13 to 39.
constexpr int kBarTop = 13;
constexpr int kBarRows = 27;
// The text line's top-left, at (450, 650) twips, in the area's 8-point font.
constexpr double kTextX = 450 / kTwipsPerPixel;
constexpr double kTextTop = 650 / kTwipsPerPixel;
constexpr double kTextPoints = 8;

}  // namespace

Laid LayUpcA(const barcode::Symbol& symbol, const Options& options) {
  Drawing drawing;
  drawing.size = kPicture;
  AddBars(drawing.bars, symbol.modules, kFirstModuleX, 1, kBarTop, kBarRows);
  if (options.textLine) {
    const QFont font = PictureFont(kTextPoints);
    drawing.texts.push_back(
        {symbol.humanReadable, font, QPointF(kTextX, kTextTop + QFontMetrics(font).ascent()), {}, {}, {}});
  }
  return {drawing, {}};
}

}  // namespace layout
