// EAN-13 and EAN-8: one pixel a module from column 16, guard bars 5 pixels
// longer than the data bars, each digit under its own seven modules. The
// picture ends a module right of the end guard and where the guard bars or
// the digits' line (down to its descent) end, whichever is lower.
#include "layout/retail_layouts.h"

#include <QFontMetrics>

#include <algorithm>
#include <array>
#include <cmath>

namespace layout {

namespace {

constexpr int kFirstModuleX = 16;
constexpr int kBarTop = 10;
constexpr int kDataRows = 48;  // the bar height 12, in units of 4 pixels
constexpr int kGuardRows = kDataRows + 5;
constexpr int kDigitModules = 7;

// The digits' font: the largest from 8 points down, in steps of 0.75, whose
// digits are at most five pixels wide, so that each leaves a white column on
// both sides of its seven-module cell and no digit touches a guard bar; and
// each digit's ink box in it.
struct DigitFont {
  QFont font;
  std::array<QRect, 10> ink;
};
DigitFont Choose() {
  DigitFont chosen;
  for (double points = 8; points > 3; points -= 0.75) {
    chosen.font = PictureFont(points);
    const QFontMetrics metrics(chosen.font);
    int widest = 0;
    for (int d = 0; d < 10; ++d) {
      chosen.ink[static_cast<size_t>(d)] = metrics.tightBoundingRect(QString(QChar(u'0' + d)));
      widest = std::max(widest, chosen.ink[static_cast<size_t>(d)].width());
    }
    if (widest <= kDigitModules - 2) break;
  }
  return chosen;
}
// Measuring ink shapes text, which costs more than laying the symbol: once.
const DigitFont& Digits() {
  static const DigitFont chosen = Choose();
  return chosen;
}

// Digits in consecutive cells from module firstModule (module 0 is the first
// of the start guard), each centred in its cell, its ink one white row below
// the data bars.
void AddDigits(std::vector<TextItem>& texts, const std::vector<int>& digits, size_t from, size_t count,
               int firstModule) {
  const DigitFont& chosen = Digits();
  for (size_t i = 0; i < count; ++i) {
    const int digit = digits[from + i];
    const QRect& ink = chosen.ink[static_cast<size_t>(digit)];
    const double cellLeft = kFirstModuleX + firstModule + kDigitModules * static_cast<double>(i);
    const double x = std::round(cellLeft + (kDigitModules - ink.width()) / 2.0) - ink.left();
    texts.push_back(
        {QString(QChar(u'0' + digit)), chosen.font, QPointF(x, kBarTop + kDataRows + 1 - ink.top()), {}, {}, {}});
  }
}

}  // namespace

Laid LayEan(const barcode::Symbol& symbol) {
  Drawing drawing;
  std::string data = symbol.modules;
  std::string guards = symbol.modules;
  for (size_t m = 0; m < symbol.modules.size(); ++m)
    (m < symbol.guards.size() && symbol.guards[m] == '1' ? data : guards)[m] = '0';
  AddBars(drawing.bars, data, kFirstModuleX, 1, kBarTop, kDataRows);
  AddBars(drawing.bars, guards, kFirstModuleX, 1, kBarTop, kGuardRows);
  // The two halves' digits between the guards; an EAN-13's leading digit,
  // which has no modules of its own, left of the start guard.
  const std::vector<int>& digits = symbol.values;
  if (digits.size() == 13) {
    AddDigits(drawing.texts, digits, 0, 1, -kDigitModules - 1);
    AddDigits(drawing.texts, digits, 1, 6, 3);
    AddDigits(drawing.texts, digits, 7, 6, 50);
  } else {
    AddDigits(drawing.texts, digits, 0, 4, 3);
    AddDigits(drawing.texts, digits, 4, 4, 36);
  }
  double bottom = kBarTop + kGuardRows;
  const int descent = QFontMetrics(Digits().font).descent();
  for (const TextItem& text : drawing.texts) bottom = std::max(bottom, text.baseline.y() + descent);
  const int right = kFirstModuleX + static_cast<int>(symbol.modules.size()) + 1;
  drawing.size = QSize(right, static_cast<int>(std::ceil(bottom)));
  return {drawing, {}};
}

}  // namespace layout
