// UPC-A: one pixel a module at the place of a 5055 x 1095 twip area, the
// text line at a fixed place below the bars. The picture ends a module right
// of the last bar and with the bars' last row, or where the text line's room
// ends, if further.
#include "layout/retail_layouts.h"

#include <QFontMetrics>
#include <QFontMetricsF>

#include <cmath>

namespace layout {

namespace {

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
  const int modules = static_cast<int>(symbol.modules.size());
  drawing.size = QSize(kFirstModuleX + modules + 1, kBarTop + kBarRows);
  AddBars(drawing.bars, symbol.modules, kFirstModuleX, 1, kBarTop, kBarRows);
  if (options.textLine) {
    const QFont font = PictureFont(kTextPoints);
    const QFontMetrics metrics(font);
    drawing.texts.push_back({symbol.humanReadable, font, QPointF(kTextX, kTextTop + metrics.ascent()), {}, {}, {}});
    const double textRight = kTextX + QFontMetricsF(font).horizontalAdvance(symbol.humanReadable);
    drawing.size = drawing.size.expandedTo(
        QSize(static_cast<int>(std::ceil(textRight)), static_cast<int>(std::ceil(kTextTop + metrics.height()))));
  }
  return {drawing, {}};
}

}  // namespace layout
