#pragma once
// Code 128, code set B only, with the modulo-103 check character: "Code 128 B"
// (the captioned symbol, with DEL and the function characters) and "Code
// 128-1" (space to "~").
#include "barcode/symbol.h"

#include <QString>

#include <array>
#include <optional>
#include <string_view>

namespace barcode {

// The published Code 128 symbol widths: values 0 to 105 are six widths in
// modules (bar, space, bar, space, bar, space) summing to 11; the stop (106)
// is seven, summing to 13, ending in its final bar.
inline constexpr std::array<std::string_view, 107> kCode128Patterns = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213", "221312",
    "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132", "221231", "213212",
    "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211", "212123", "212321", "232121",
    "111323", "131123", "131321", "112313", "132113", "132311", "211313", "231113", "231311", "112133", "112331",
    "132131", "113123", "113321", "133121", "313121", "211331", "231131", "213113", "213311", "213131", "311123",
    "311321", "331121", "312113", "312311", "332111", "314111", "221411", "431111", "111224", "111422", "121124",
    "121421", "141122", "141221", "112214", "112412", "122114", "122411", "142112", "142211", "241211", "221114",
    "413111", "241112", "134111", "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112",
    "421211", "212141", "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311",
    "113141", "114131", "311141", "411131", "211412", "211214", "211232", "2331112"};
inline constexpr int kCode128StartB = 104;
inline constexpr int kCode128Stop = 106;

// The message box of "Code 128 B" for a text or a caption it cannot draw.
inline const QString kCode128BErrorBox =
    QStringLiteral("There was an Unknow Error please send an email to support@quillon.example ");

// The code set B value of a Windows-1252 character for "Code 128 B": 32 to 127
// are themselves (value = code - 32, 127 is DEL), and 179, 178, 188, 185 the
// function characters FNC 3 (96), FNC 2 (97), FNC 4 (100) and FNC 1 (102).
// Control character 16 has no code set B symbol of its own: none.
std::optional<int> Code128BValue(unsigned char ansiCode);

// Symbol.values: Start B, one value per character, the check value, the stop.
// Refused: a character outside the set (its position; "Code 128 B" also shows
// kCode128BErrorBox), or a text where a value times its position passes 32767,
// the 16-bit limit of the check arithmetic ("Code 128 B" tests that first).
Encoded EncodeCode128B(const QString& text);
Encoded EncodeCode128Pattern(const QString& text);

}  // namespace barcode
