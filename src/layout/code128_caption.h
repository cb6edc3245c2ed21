#pragma once
// "Code 128 B" with its caption: the renderer's record (bars, background box
// and the caption above or below them), checked and laid out in pixels.
#include "barcode/symbol.h"
#include "layout/drawing.h"
#include "layout/lay.h"
#include "layout/options.h"

#include <QPoint>
#include <QSize>
#include <QString>

#include <optional>

namespace layout {

enum class Code128Alignment { Left = 1, Center = 2, Right = 3, Justify = 4 };
enum class Code128TextPosition { Bottom = 1, Top = 2 };

// What is wrong with a record, in the order the record is checked.
enum class Code128Fault { None, ModuleWidth, BarHeight, Alignment, Font, TextPosition };

// The record; the defaults are the window's fixed values.
struct Code128Record {
  QString caption;  // the human-readable text; empty: none
  QString fontName = QStringLiteral("MS Sans Serif");
  int fontSize = 8;   // points
  int fontStyle = 0;  // 0 to 15: 1 bold, 2 italic, 4 underline, 8 strikeout
  Code128Alignment alignment = Code128Alignment::Left;
  Code128TextPosition textPosition = Code128TextPosition::Bottom;
  int barHeight = 40;  // pixels, as are the next four
  int left = 2;
  int top = 1;
  int moduleWidth = 1;
  int textGap = 4;      // between bars and caption
  int orientation = 0;  // 0 to 3: the caption turned 0, 90, 180, 270 degrees; only 0 draws a symbol
  bool checkCharacter = true;
};

// From left and top up to, not including, right and bottom.
struct Edges {
  qint64 left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const Edges&, const Edges&) = default;
};

struct Code128Geometry {
  Edges box;  // the background box (white, as the picture)
  // The box's width and height; none when the caption is turned, or when the
  // picture would pass 32767 pixels (nothing is laid out then).
  std::optional<QSize> total;
  QPoint barOrigin;  // the left edge of Start B, the top of the bars
  Edges textRect;    // where the caption is drawn and clipped; empty without one
  Drawing drawing;   // sized as the picture: total's width + left + 1 by its height + top - 1
};

// The first fault of the record; a fault in an earlier field hides later ones.
Code128Fault CheckCode128(const Code128Record& record);

// A valid record laid out for the symbol of barcode::EncodeCode128B. A wide
// caption widens the box and centres the bars in it; a caption on top moves
// the bars down; every alignment centres the caption but "JUSTIFY", which
// spreads the symbol's data (not the caption) from the left. The caption is
// placed character by character, as the record's font places it.
Code128Geometry LayCode128Record(const barcode::Symbol& symbol, const Code128Record& record);

// The window's record: its fixed values, the options' caption size, the
// caption when the text line is on. The picture is the record's: the box
// belongs to the symbol, so nothing is cut from it. Refused: the record's fault (with the
// "Code 128 B" message box), or a picture wider or taller than 32767 pixels.
Laid LayCode128B(const barcode::Symbol& symbol, const Options& options);

}  // namespace layout
