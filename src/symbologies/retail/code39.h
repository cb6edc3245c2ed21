#pragma once
// Code 39: the text framed by start and stop characters, drawn bar by bar
// into a picture area, with the text optionally printed under the bars.
#include "platform/picture_box.h"
#include "symbologies/outcome.h"

#include <array>
#include <string_view>

namespace retail {

// The pattern table, indexed by ANSI code 0..90; codes without a character
// hold "". Each digit is a narrow gap followed by a bar ("1" narrow, "2"
// wide); a blank widens the gap before the next bar.
std::array<std::string_view, 91> BuildCode39Table();

// The text with a-z upper-cased and every other character as it is (general
// upper-casing turns some letters into others: "\u00df" into "SS").
QString UpperCaseLetters(const QString& text);

// Why the upper-cased text cannot be drawn as Code 39 (a character outside
// the table, or a "*" that scanners would take for the stop), or "" when it
// can.
QString Code39Problem(const QString& upperText);

// Draws text into Picture1 (pixel scale, width fitted to the symbol; the text
// line under the bars when check2Value is 1). Upper-cases a-z of text in
// place. The bars are at least kMinBarPixels high and the text line lies
// whole inside the area: Picture1 grows where its height or width is short.
symbologies::Outcome DrawCode39(QString& text, platform::PictureBox& Picture1, int check2Value);

}  // namespace retail
