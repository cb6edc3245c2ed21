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

struct TextItem {
  QString text;
  QFont font;        // sized in pixels
  QPointF baseline;  // where the text starts on its baseline, in picture pixels
  // When not empty: each character is drawn on its own, the first at
  // baseline and each next one advances[i] pixels after the one before (the
  // Code 128 B caption, placed character by character).
  std::vector<int> advances;
  QRect clip;  // when not null, nothing of the text outside it shows
};

struct Drawing {
  QSize size;                   // the picture, in pixels
  std::vector<QRect> bars;      // black, in picture pixels
  std::vector<TextItem> texts;  // drawn in black over the bars
};

}  // namespace layout
