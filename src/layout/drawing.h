#pragma once
// A finished picture as plain data: black bars and text items on a white
// picture, in picture pixels (96 to the inch). Renderers turn it into an
// image or paint it as vectors; nothing here knows about screens or printers.
#include <QFont>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

namespace layout {

// A text stretched across like a picture stretched by whole pixels a module:
// the text is drawn at its own size, then every `from` columns, counted from
// column `origin`, become `to` columns counted from column 0. In an image,
// column d takes the columns origin + d * from / to up to, not including,
// origin + (d + 1) * from / to (quotients rounded down; at least one column),
// combined by a bitwise AND of their colours: where the stretch shrinks,
// black wins and no stroke is lost.
struct HorizontalStretch {
  int origin = 0;
  int from = 1;
  int to = 1;
  bool Identity() const { return origin == 0 && from == to; }
};

struct TextItem {
  QString text;
  QFont font;        // sized in pixels
  QPointF baseline;  // where the text starts on its baseline, in picture pixels
  // When not empty: each character is drawn on its own, the first at
  // baseline and each next one advances[i] pixels after the one before (the
  // Code 128 B caption, placed character by character).
  std::vector<int> advances;
  QRect clip;  // when not null, nothing of the text outside it shows
  HorizontalStretch stretch;  // baseline, advances and clip are in the columns before it
};

struct Drawing {
  QSize size;                   // the picture, in pixels
  // The narrowest element in picture pixels: Code 39's narrow unit, the
  // pattern symbologies' module after the width stretch, one pixel for UPC-A,
  // EAN and Code 128 B. Quiet zones are counted in it.
  int modulePixels = 1;
  std::vector<QRect> bars;      // black, in picture pixels
  std::vector<TextItem> texts;  // drawn in black over the bars
};

}  // namespace layout
