// Code 39: the unit (narrow element) from the bar height, the bars from the
// top of the picture, room for a text line below them. That room shortens the
// bars even when there is no text line; the picture then ends with the bars.
#include "layout/retail_layouts.h"

#include <QFontMetrics>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace layout {

namespace {

// The largest side of a picture, in pixels.
constexpr int kMaxPixels = 32767;

// Picture sizes are kept in twips and snap to the nearest whole pixel.
int PixelsOfTwips(double twips) {
  if (!(twips > 0)) return 0;
  return static_cast<int>(std::min(std::lround(std::min(twips, 1e9) / kTwipsPerPixel), long{kMaxPixels}));
}

// The heights of a picture: the room for the text line is a line of text with
// a quarter of its height above and below (at least two pixels, so that even
// a tiny font keeps a white row between bars and text). Where that leaves the
// bars under the printable floor, the picture grows.
struct Heights {
  int picture;    // pixels
  double bottom;  // of the bars
  double gap;     // between the bars and the text
};
Heights HeightsFor(int areaHeight, double textHeight) {
  const double gap = std::max(0.25 * textHeight, 2.0);
  const double reserve = textHeight + 2 * gap;
  const int picture = areaHeight - reserve < barcode::kMinBarPixels
                          ? PixelsOfTwips(std::ceil(barcode::kMinBarPixels + reserve) * kTwipsPerPixel)
                          : areaHeight;
  return {picture, picture - reserve, gap};
}

barcode::Refusal TooLong(const QString& text, int unit) {
  const auto most = static_cast<qsizetype>((kMaxPixels / unit - 2) / 13) - 2;
  return {QStringLiteral("The text is too long for a Code 39 barcode (%1 characters): at this bar height and font "
                         "size it takes at most %2.")
              .arg(text.size())
              .arg(std::max<qsizetype>(0, most)),
          -1,
          {}};
}

}  // namespace

Laid LayCode39(const barcode::Symbol& symbol, const Options& options) {
  // 40 pixels of picture height a unit of the bar height box; the unit is
  // that height over 40, rounded half to even.
  const int areaHeight = PixelsOfTwips(std::clamp(options.barHeight, 0.1, 25.0) * 40 * kTwipsPerPixel);
  const int unit = std::max(1, static_cast<int>(std::nearbyint(areaHeight / 40.0)));
  const QFont font = PictureFont(std::clamp(options.fontSize, 1.0, 144.0));
  const QString& text = symbol.humanReadable;
  const double textWidth = QFontMetricsF(font).horizontalAdvance(text);
  const QFontMetrics metrics(font);
  const qsizetype n = symbol.data.size() + 2;  // with the start and the stop

  // A character takes 13 units (its trailing gap included), and the picture
  // a unit of white on each side: refuse what a picture cannot hold rather
  // than cut it.
  const double drawnWidth = (13.0 * n + 2) * unit;
  const double textLineWidth = options.textLine ? textWidth + 2 * unit : 0;
  if (drawnWidth > kMaxPixels || textLineWidth > kMaxPixels) return {std::nullopt, TooLong(text, unit)};

  const Heights heights = HeightsFor(areaHeight, metrics.height());
  // A text line wider than the symbol widens the picture; the bars are then
  // centred under it.
  const double shift = textLineWidth > drawnWidth ? std::round((textLineWidth - drawnWidth) / 2) : 0;
  const int width = PixelsOfTwips(std::max(drawnWidth + 2 * shift, textLineWidth) * kTwipsPerPixel);
  // The bars cover the rows down to the nearest pixel of their bottom. The
  // room for the text line stays below them only when there is one: without
  // it the picture ends with the bars.
  const int barRows = std::min(static_cast<int>(std::floor(heights.bottom + 0.5)), heights.picture - 1) + 1;

  Drawing drawing;
  drawing.size = QSize(width, options.textLine ? heights.picture : barRows);
  drawing.modulePixels = unit;
  // The first bar one unit in.
  AddBars(drawing.bars, symbol.modules, static_cast<int>(shift) + unit, unit, 0, barRows);
  if (options.textLine)
    drawing.texts.push_back(
        {text, font, QPointF((width - textWidth) / 2, heights.bottom + heights.gap + metrics.ascent()), {}, {}, {}});
  return {drawing, {}};
}

}  // namespace layout
