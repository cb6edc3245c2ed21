#include "labels/sheet.h"

#include <algorithm>
#include <cmath>

namespace labels {

namespace {

// Labels whose tops are closer than this (a third of a millimetre) are one row.
constexpr double kSameRow = 1.0;

int Clamped(int firstLabel, int perSheet) { return std::clamp(firstLabel, 1, std::max(perSheet, 1)); }

}  // namespace

Sheet SheetOf(const Product& product) {
  Sheet sheet{product.page, product.roll, {}};
  for (const Grid& grid : product.grids) {
    for (int row = 0; row < grid.ny; ++row) {
      for (int column = 0; column < grid.nx; ++column) {
        sheet.labels.emplace_back(QPointF(grid.x0 + column * grid.dx, grid.y0 + row * grid.dy), product.label);
      }
    }
  }
  auto& labels = sheet.labels;
  std::stable_sort(labels.begin(), labels.end(), [](const QRectF& a, const QRectF& b) { return a.top() < b.top(); });
  const auto byLeft = [](const QRectF& a, const QRectF& b) { return a.left() < b.left(); };
  auto rowStart = labels.begin();
  for (auto it = labels.begin(); it != labels.end(); ++it) {
    if (it->top() - rowStart->top() > kSameRow) {
      std::stable_sort(rowStart, it, byLeft);
      rowStart = it;
    }
  }
  std::stable_sort(rowStart, labels.end(), byLeft);
  return sheet;
}

int LabelsPerSheet(const Product& product) {
  int total = 0;
  for (const Grid& grid : product.grids) total += grid.nx * grid.ny;
  return total;
}

Area InnerArea(const Product& product, const QRectF& label) {
  double inset = product.margin;
  // A rectangle inset by this much has its corners on the round corners' arcs.
  if (product.shape == Shape::Rectangle) inset = std::max(inset, product.corner * (1 - std::sqrt(0.5)));
  const double dx = std::min(inset, label.width() / 2), dy = std::min(inset, label.height() / 2);
  return {label.adjusted(dx, dy, -dx, -dy), product.shape == Shape::Round};
}

namespace {

// The largest scale, at most 1, at which a picture of this natural size fits the area.
double FittingScale(QSizeF natural, const Area& area) {
  double scale = 1;
  if (area.round) {
    const double diagonal = std::hypot(natural.width(), natural.height());
    if (diagonal > 0) scale = std::min(scale, std::min(area.bounds.width(), area.bounds.height()) / diagonal);
  } else {
    if (natural.width() > 0) scale = std::min(scale, area.bounds.width() / natural.width());
    if (natural.height() > 0) scale = std::min(scale, area.bounds.height() / natural.height());
  }
  return scale;
}

}  // namespace

Placement Place(QSizeF picturePixels, double modulePixels, const Area& area, Turning turning) {
  QSizeF natural = picturePixels * kPointsPerPixel;
  double scale = FittingScale(natural, area);
  const bool turned = turning == Turning::MayTurn && FittingScale(natural.transposed(), area) > scale;
  if (turned) {
    natural.transpose();
    scale = FittingScale(natural, area);
  }
  const QSizeF size = natural * scale;
  const QPointF topLeft = area.bounds.center() - QPointF(size.width() / 2, size.height() / 2);
  const double moduleMm = modulePixels * scale * kPointsPerPixel / kPointsPerMm;
  return {QRectF(topLeft, size), scale, turned, moduleMm, moduleMm < kScannerLimitMm};
}

Slot SlotOf(int barcode, int firstLabel, int perSheet) {
  perSheet = std::max(perSheet, 1);
  const int position = Clamped(firstLabel, perSheet) - 1 + barcode;
  return {position / perSheet, position % perSheet};
}

int PagesFor(int barcodes, int firstLabel, int perSheet) {
  if (barcodes <= 0) return 0;
  return SlotOf(barcodes - 1, firstLabel, perSheet).page + 1;
}

}  // namespace labels
