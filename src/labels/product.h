#pragma once
// A label product as the template database describes it: its page, the shape
// and size of its labels, their markup margin and where the labels sit.
// Every length is in points (1/72 inch), the unit of PDF and of QPageSize.
#include <QSizeF>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace labels {

inline constexpr double kPointsPerInch = 72.0;
inline constexpr double kPointsPerMm = kPointsPerInch / 25.4;

// A length as the templates write it: a number and a unit, pt, in, mm, cm or
// pc (12 pt); no unit means points. Nothing for an unreadable length.
std::optional<double> PointsOf(QStringView length);

// A named page size of paper-sizes.xml ("A4", "US-Letter").
struct PaperSize {
  QString id;
  QString name;  // as shown to people ("US Letter")
  QSizeF size;   // points
};

enum class Shape { Rectangle, Round };

// nx x ny labels, the first at (x0, y0) from the page's top left, the next
// dx to the right and dy below.
struct Grid {
  int nx = 1, ny = 1;
  double x0 = 0, y0 = 0, dx = 0, dy = 0;
};

struct Product {
  QString brand, part, description;
  QString equivOf;  // the part whose geometry an alias takes, "" for an original
  QString paperId;  // an id of paper-sizes.xml, or "Other" for a page of its own size
  QSizeF page;      // points
  Shape shape = Shape::Rectangle;
  QSizeF label;       // points; a round label's circle is label.width() across
  double corner = 0;  // a rectangle's corner radius
  double margin = 0;  // the markup margin, inside which the content stays
  std::vector<Grid> grids;
  // One label per page on a page of its own size: a roll for a label printer.
  // Its page is the label and the label fills the page.
  bool roll = false;
};

// "Avery 5160".
QString FullName(const Product& product);

}  // namespace labels
