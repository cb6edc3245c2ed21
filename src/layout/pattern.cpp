#include "layout/pattern.h"

#include "layout/bars.h"

#include <QFontMetrics>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace layout {

namespace {

constexpr int kModulePixels = 2;
constexpr float kLeft = 1;
constexpr float kTop = 20;
constexpr int kMaxPixels = 32767;  // the largest side of a picture
// The width box's reference: 800 leaves the drawing as it is.
constexpr double kReferenceWidth = 800;

// The text line's font: 16 points at 96 pixels to the inch.
QFont TextLineFont() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(21);
  return font;
}

// Pixels a module once stretched to width, for a drawing of `columns`
// modules: the symbol's and one white module on each side.
int StretchedModulePixels(double width, int columns) {
  if (std::isnan(width)) width = 0;
  const double wanted = std::nearbyint(kModulePixels * std::clamp(width, 0.0, 1e6) / kReferenceWidth);
  return static_cast<int>(std::clamp(wanted, 1.0, static_cast<double>(std::max(1, kMaxPixels / columns))));
}

}  // namespace

Laid LayPattern(const barcode::Symbol& symbol, const Options& options) {
  // (The floor first: a bar height that is not a number gives the floor.)
  const float barHeight = static_cast<float>(std::max(double{barcode::kMinBarPixels}, options.barHeight * 10));
  const auto modules = static_cast<qint64>(symbol.modules.size());
  // Bars from y 20 down to and including the row nearest to 20 + bar height.
  const int rows =
      static_cast<int>(std::floor(static_cast<double>(kTop + barHeight) + 0.5)) - static_cast<int>(kTop) + 1;
  // The picture ends where the drawing does: as much white right of the last
  // bar as left of the first; below, the bars' last row or the text line's
  // room and one row.
  double right = kLeft + static_cast<double>(modules) * kModulePixels;
  double height = kTop + rows;
  const float textTop = kTop * 1.2f + barHeight;
  Drawing d;
  if (options.textLine) {
    const QFont font = TextLineFont();
    const QFontMetrics fm(font);
    right = std::max(right, kLeft + QFontMetricsF(font).horizontalAdvance(symbol.data));
    height = std::ceil(textTop + static_cast<double>(fm.height())) + 1;
    d.texts.push_back({symbol.data, font, QPointF(kLeft, static_cast<double>(textTop) + fm.ascent()), {}, {}, {}});
  }
  const double width = std::ceil(right) + kLeft;
  if (width > kMaxPixels || height > kMaxPixels)
    return {std::nullopt,
            {QStringLiteral("The text is too long for a %1 barcode (%2 characters).")
                 .arg(symbol.symbology == barcode::Symbology::Interleaved2of5 ? QStringLiteral("Code 2/5")
                                                                              : QStringLiteral("Code 128"))
                 .arg(symbol.data.size()),
             -1,
             {}}};
  d.size = QSize(static_cast<int>(width), static_cast<int>(height));
  d.modulePixels = kModulePixels;

  // The stretch scales the drawing by whole pixels a module, on the module
  // grid that starts one module left of the first bar and ends one module
  // right of the last; the text line is always narrower than the bars, so
  // they end the drawing.
  int firstBar = static_cast<int>(kLeft);
  if (options.stretchWidth && *options.stretchWidth != kReferenceWidth) {
    const int columns = static_cast<int>(modules) + 2;
    d.modulePixels = StretchedModulePixels(*options.stretchWidth, columns);
    firstBar = d.modulePixels;
    d.size.setWidth(columns * d.modulePixels);
    for (TextItem& text : d.texts)
      text.stretch = {static_cast<int>(kLeft) - kModulePixels, kModulePixels, d.modulePixels};
  }
  d.bars = BarsOf(symbol.modules, firstBar, static_cast<int>(kTop), d.modulePixels, rows);
  return {std::move(d), {}};
}

}  // namespace layout
