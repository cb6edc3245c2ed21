#pragma once
// UPC-A: eleven digits and their check digit, drawn line by line in twips
// into Picture9 from eight primitives (a bar or a space of one to four
// modules) and twenty-two glyphs built from them.
#include "platform/picture_box.h"
#include "symbologies/outcome.h"

#include <array>
#include <vector>

namespace retail {

enum class UpcPrimitive { Bar1, Bar2, Bar3, Bar4, Space1, Space2, Space3, Space4 };
using UpcGlyph = std::vector<UpcPrimitive>;

bool IsBar(UpcPrimitive p);
int ModuleCount(UpcPrimitive p);

// The glyphs. A left-hand digit glyph is the digit's odd-parity pattern from
// its second module on, followed by one space module that opens whatever
// comes next; the end guard carries two trailing space modules.
const UpcGlyph& GuardGlyph();
const UpcGlyph& EndGuardGlyph();
const std::array<UpcGlyph, 10>& LeftDigit();
const std::array<UpcGlyph, 10>& RightDigit();

// The check digit of eleven digits (weights 3, 1, 3, ... from the left).
int UpcACheckDigit(const std::array<int, 11>& digits);

// The primitives of the whole symbol, left to right: guard, d1..d6, guard,
// d7..d11, the check digit, end guard (97 modules).
std::vector<UpcPrimitive> UpcAPrimitives(const std::array<int, 11>& digits);

// Width of one module in twips: one whole pixel, so every module comes out
// equally wide.
inline constexpr int kUpcModuleTwips = 15;
// Pen x of the first line: 248 twips lies 7 twips before the centre of pixel
// 17, so each module's 15 lines all land on one pixel.
inline constexpr int kUpcPenStart = 248;
inline constexpr int kUpcBarTop = 200;
inline constexpr int kUpcBarHeight = 400;
// Where the text line (or the length message) is printed, in twips.
inline constexpr int kUpcTextX = 450;
inline constexpr int kUpcTextY = 650;

inline const QString kUpcLengthText = QStringLiteral("Code is not 11 Digits");

// Draws the trimmed text into Picture9 (twips scale, blank on entry); the
// code and its check digit under the bars when check2Value is 1. A code that
// is not exactly eleven digits draws no bars: a wrong length prints the
// length message where the text line goes.
symbologies::Outcome DrawUpcA(const QString& text, platform::PictureBox& Picture9, int check2Value);

}  // namespace retail
