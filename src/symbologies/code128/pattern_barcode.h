#pragma once
// The table-driven encoders: Code 128 (code set B only) and Interleaved 2 of 5
// turn a text into a bar pattern, and DrawPatternBarcode draws a pattern as
// black boxes on a picture area, with the text line under it.
#include "platform/picture_box.h"
#include "symbologies/outcome.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace code128 {

// One decimal digit per element, its width in modules; elements alternate
// bar and space, starting with a bar.
using BarPattern = std::string;

// The Code 128 symbol widths, values 0 to 106 in order: six widths (bar,
// space, ...) summing to 11 modules, and the stop, seven widths summing to 13.
inline constexpr std::string_view kCode128Widths =
    "212222,222122,222221,121223,121322,131222,122213,122312,132212,221213,"
    "221312,231212,112232,122132,122231,113222,123122,123221,223211,221132,"
    "221231,213212,223112,312131,311222,321122,321221,312212,322112,322211,"
    "212123,212321,232121,111323,131123,131321,112313,132113,132311,211313,"
    "231113,231311,112133,112331,132131,113123,113321,133121,313121,211331,"
    "231131,213113,213311,213131,311123,311321,331121,312113,312311,332111,"
    "314111,221411,431111,111224,111422,121124,121421,141122,141221,112214,"
    "112412,122114,122411,142112,142211,241211,221114,413111,241112,134111,"
    "111242,121142,121241,114212,124112,124211,411212,421112,421211,212141,"
    "214121,412121,111143,111341,131141,114113,114311,411113,411311,113141,"
    "114131,311141,411131,211412,211214,211232,2331112";
inline constexpr int kStartB = 104;
inline constexpr int kStop = 106;

// The 107 patterns of kCode128Widths (split once).
const std::vector<std::string_view>& Code128Patterns();

// Code 128 code set B with the modulo-103 check character: Start B, one
// symbol character per text character with a code from 32 to 126 (value =
// code - 32; other characters are skipped), the check character, the stop.
// Empty when the text is too long for the check arithmetic: a value times its
// position must stay within 16 bits (32767).
std::optional<BarPattern> EncodeCode128B(const QString& text);

// Interleaved 2 of 5, wide elements three modules, no check digit: the start
// 1111, each digit pair with the first digit in the bars and the second in the
// spaces, the stop 311. Empty when the text is not an even number of digits
// or longer than 20 digits (it then has no complete symbol).
std::optional<BarPattern> EncodeInterleaved2of5(const QString& text);

// The refusal of a text whose check arithmetic overflows at position (1-based).
QString Code128TooLong(qsizetype length, qsizetype position);

// Why Interleaved 2 of 5 cannot encode the text as typed (before any "0" is
// added), or "" when it can.
QString Interleaved2of5Problem(const QString& typed);

// What the Interleaved 2 of 5 encoder shows when it cannot encode a text: the
// run-time error number, a line break and its description.
inline const QString kSubscriptOutOfRange = QStringLiteral("9\r\nSubscript out of range");

// Draws a pattern barcode on target: selector "128" encodes text as Code 128
// B, "25" as Interleaved 2 of 5 (an odd-length text first gets a "0" at its
// end, in the caller's variable); any other selector draws the pattern of the
// previous call again. Bars are moduleWidth units per module, barHeight tall,
// from (left, top), in the target's scale units; with check2Value 1 the text
// is printed at font size 16 under the bars, from left. The target grows
// where the drawing would not fit. A text the encoder refuses draws nothing;
// for Interleaved 2 of 5 the outcome carries its error message.
symbologies::Outcome DrawPatternBarcode(const QString& selector, QString& text, platform::PictureBox& target,
                                        std::int16_t moduleWidth, float barHeight, float left, float top,
                                        int check2Value);

}  // namespace code128
