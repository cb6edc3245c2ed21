#pragma once
// EAN-13 and EAN-8: 12 or 7 digits and their check digit, one pixel per
// module, guard bars 5 pixels longer than data bars, the digits printed in
// two groups under the bars.
#include "platform/picture_box.h"
#include "symbologies/outcome.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace retail {

// Number sets A (left, odd parity), B (left, even parity) and C (right),
// "1" a bar module, and the EAN-13 first-digit parity table ("O" takes set A,
// "E" set B, for the digits in positions 2 to 7).
struct EanTables {
  std::array<std::string, 10> setA;
  std::array<std::string, 10> setB;
  std::array<std::string, 10> setC;
  std::array<std::string, 10> parity;
};
EanTables InitEanTables();

// Exactly 12 (EAN-13) or 7 (EAN-8) characters, all of them 0 to 9.
bool IsValidEan13Code(const QString& code);
bool IsValidEan8Code(const QString& code);

// The check digit of a string of digits: weights 3, 1, 3, ... from the right.
int EanCheckDigit(const QString& digits);

// One run of modules drawn in one go; guard runs reach lower.
struct EanSegment {
  std::string pattern;
  bool isGuard = false;
};
// The symbol of a valid code, left to right: start guard, the data digits
// with the centre guard between the halves, the check digit, end guard.
std::vector<EanSegment> Ean13Segments(const QString& code, const EanTables& tables);
std::vector<EanSegment> Ean8Segments(const QString& code, const EanTables& tables);

// The x of the first module of the start guard (pen x 5, advanced before the
// line, drawn at pen x + 10).
inline constexpr int kEanFirstModuleX = 16;

// Where the encoder draws: the target, the top of the bars, the bar height
// h (pixels) and the pen x of the last module drawn.
struct EanPen {
  platform::PictureBox& target;
  int barTop = 10;
  int h = 48;
  int penX = 5;
};

// One pixel-wide line per module, black for "1" and white for "0", at pen x
// + 10 after advancing the pen; guard lines are 5 pixels longer.
void DrawModules(EanPen& pen, std::string_view pattern, bool isGuard);

// Draw the symbol from pen x 5 and, with showText, print the digits under
// the data bars, each centred under its own digit between the guards; an
// EAN-13's leading digit left of the start guard.
void EncodeEan13(EanPen& pen, const QString& code, const EanTables& tables, bool showText);
void EncodeEan8(EanPen& pen, const QString& code, const EanTables& tables, bool showText);

// Set up target (white, pixel scale, sized to the symbol) and draw the code;
// height is the bar height in units of 4 pixels. The target loses its
// picture first, so a code that cannot be drawn leaves it without one.
symbologies::Outcome DrawEan13(platform::PictureBox& target, int height, const QString& code, bool showText);
symbologies::Outcome DrawEan8(platform::PictureBox& target, int height, const QString& code, bool showText);

// The text as typed (no trimming): 7 characters give EAN-8, 12 give EAN-13,
// always with the digits printed. Any other length leaves Picture22 alone.
symbologies::Outcome DrawEan(const QString& text, platform::PictureBox& Picture22);

}  // namespace retail
