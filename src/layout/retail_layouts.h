#pragma once
// The layouts of Code 39, UPC-A and EAN, and what they share: module runs
// as bar rectangles and the fonts of the picture areas.
#include "layout/lay.h"

#include <QFont>

#include <string_view>

namespace layout {

Laid LayCode39(const barcode::Symbol& symbol, const Options& options);
Laid LayUpcA(const barcode::Symbol& symbol, const Options& options);
Laid LayEan(const barcode::Symbol& symbol);

// Twips (1440 to the inch) to pixels at 96 to the inch.
inline constexpr double kTwipsPerPixel = 15;

// DejaVu Sans at a size in points, in whole pixels at 96 to the inch (at
// least one), as the picture areas size their text.
QFont PictureFont(double points);

// One rectangle per run of '1' modules: module i spans the columns from
// left + i * moduleWidth, moduleWidth wide; each bar from top, height rows.
void AddBars(std::vector<QRect>& bars, std::string_view modules, int left, int moduleWidth, int top, int height);

}  // namespace layout
