#pragma once
// Where a product's labels are on its page, which part of a label a barcode
// may use, where a barcode picture goes in it, and which label of which page
// the k-th barcode of a run takes. Pure geometry, in points.
#include "labels/product.h"

#include <QRectF>
#include <QSizeF>

#include <vector>

namespace labels {

struct Sheet {
  QSizeF page;
  bool roll = false;
  // In fill order: row by row from the top, left to right within a row. The
  // labels of all layouts are sorted together, so two blocks side by side
  // fill as one sheet-wide row, as a person reads the sheet.
  std::vector<QRectF> labels;
};

Sheet SheetOf(const Product& product);
int LabelsPerSheet(const Product& product);

// The part of a label a barcode may use: inside the markup margin, and for a
// rectangle clear of its round corners.
struct Area {
  QRectF bounds;
  // A round label's area is the circle inscribed in bounds: a wide barcode
  // fits it by its diagonal, larger than it would in the circle's square.
  bool round = false;
};

Area InnerArea(const Product& product, const QRectF& label);

// A picture pixel is 1/96 inch on paper.
inline constexpr double kPointsPerPixel = kPointsPerInch / 96.0;
// Most scanners read no narrower module.
inline constexpr double kScannerLimitMm = 0.19;

// Whether a picture may be turned to fit a label better: a long barcode on
// a tall roll label (Dymo 99012 is 36 x 89 mm) runs along it.
enum class Turning { Upright, MayTurn };

struct Placement {
  QRectF picture;    // points, centred in the area; turned, the footprint of the turned picture
  double scale = 1;  // 1 at natural size; below 1 when shrunk to fit, the same both ways
  // Turned a quarter turn anticlockwise: the picture's bottom edge along the
  // footprint's right side, its text reading upward.
  bool turned = false;
  double moduleMm = 0;  // the narrowest bar as printed
  bool belowScannerLimit = false;
};

// The picture (pixels) at its natural size in the middle of the area, or
// shrunk uniformly until it fits; never enlarged. With MayTurn it is turned
// when it must shrink upright and turned would keep more of its size.
Placement Place(QSizeF picturePixels, double modulePixels, const Area& area, Turning turning = Turning::Upright);

// The label a barcode of a run takes: the page from 0 and the index of the
// label in Sheet::labels.
struct Slot {
  int page = 0;
  int label = 0;
};

// The run starts on label firstLabel (from 1, in fill order; kept within the
// sheet) of the first page; barcode counts from 0.
Slot SlotOf(int barcode, int firstLabel, int perSheet);
int PagesFor(int barcodes, int firstLabel, int perSheet);

}  // namespace labels
