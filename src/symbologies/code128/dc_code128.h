#pragma once
// Code 128 (code set B, optional check character) drawn with GDI rectangles
// straight onto a device context: a background box, the bars, and the
// human-readable text above or below them.
#include "platform/device_context.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace code128 {

struct Code128Spec {
  QString Data;       // text to encode
  QString Reserved1;  // not read
  QString Reserved2;  // not read
  QString Caption;    // human-readable text; empty: none
  QString FontName;   // face name of the text font
  std::int32_t Symbology = 0;     // only 16 is accepted
  std::int32_t Alignment = 0;     // 1 LEFT, 2 CENTER, 3 RIGHT, 4 JUSTIFY
  std::int32_t TextPosition = 0;  // 1 below the bars, 2 above
  std::int32_t FontSize = 0;      // points
  std::int32_t FontStyle = 0;     // 1 bold, 2 italic, 4 underline, 8 strikeout
  std::int32_t BarHeight = 0;     // device units
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t ModuleWidth = 0;
  std::int32_t TextGap = 0;  // between bars and text
  std::int32_t Reserved3 = 0;
  std::int32_t Reserved4 = 0;
  std::int32_t TotalWidth = 0;   // out: width of the background box
  std::int32_t TotalHeight = 0;  // out: height of the background box
  std::int32_t Orientation = 0;  // text escapement 0, 90, 180, 270 degrees
  platform::gdi::COLORREF BarColor = 0;
  platform::gdi::COLORREF BackColor = 0;
  platform::gdi::COLORREF TextColor = 0;
  std::int32_t CheckCharacter = 0;  // 1: draw the check character
};

// Result codes of DrawCode128.
inline constexpr std::int32_t kBadModuleWidth = 54541;
inline constexpr std::int32_t kBadBarHeight = 54542;
inline constexpr std::int32_t kBadSymbology = 54543;
inline constexpr std::int32_t kBadFont = 54544;
inline constexpr std::int32_t kBadAlignment = 54546;
inline constexpr std::int32_t kBadTextPosition = 54547;
inline constexpr std::int32_t kBadCharacter = 54548;

// The symbol character value of an ANSI character code, or empty when the
// character is not accepted. 32-126 are themselves in code set B; 127 is DEL
// (95) and 179, 178, 188, 185 the function characters FNC 3 (96), FNC 2 (97),
// FNC 4 (100) and FNC 1 (102). Control character 16 is not accepted: code
// set B has no symbol character of its own for it.
std::optional<int> Code128Value(unsigned char ansiCode);

// The result code of the record tests and the character test, in the order
// DrawCode128 runs them (a bad character overrides a record error); 0 when
// the record can be drawn or Data is empty. A character the ANSI code page
// cannot hold is not accepted.
std::int32_t ValidateCode128(const Code128Spec& spec);

// Start B, the value of every character of data (all accepted), and with
// checkCharacter the modulo-103 check value; without the stop.
std::vector<int> Code128SymbolValues(const QByteArray& ansiData, bool checkCharacter);

// The first position (1-based) where a value times its position in data
// exceeds 16 bits (32767), the limit of the check arithmetic, or 0: such
// texts are refused, not drawn.
qsizetype Code128WeightsOverflow(const QString& data);

// Validates spec, then draws on hdc: a background box in BackColor from
// (Left, Top), the symbol (Start B, the characters, the check character, the
// stop) in BarColor, and the caption in TextColor below or above the bars.
// A caption wider than the symbol widens the box and the bars are centred in
// it; a caption on top moves the bars down; JUSTIFY draws Data spread over
// the symbol width instead of the caption. Returns 0 (also for an empty
// Data, which draws nothing) or the result code of the failing test, and then
// draws nothing. After drawing with Orientation 0, spec receives TotalWidth
// and TotalHeight; the context keeps its own font.
std::int32_t DrawCode128(Code128Spec& spec, platform::gdi::DeviceContext& hdc);

inline const QString kCode128ErrorText =
    QStringLiteral("There was an Unknow Error please send an email to support@quillon.example ");

// kCode128ErrorText is the message box for a non-zero result of DrawCode128
// (the code is not shown); the program carries on and draws no barcode.

// Why spec gave the result code, in words for the user.
QString Code128Problem(const Code128Spec& spec, std::int32_t code);

}  // namespace code128
