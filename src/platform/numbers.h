#pragma once
// Numbers typed into text boxes, and the rounding rules of the program.
#include <QString>

#include <cstdint>
#include <optional>

namespace platform {

// The value of a typed number: the user's locale syntax, or the plain C
// syntax; blanks around it are allowed, an empty text is not a number.
std::optional<double> ParseNumber(const QString& text);
inline bool IsNumeric(const QString& text) { return ParseNumber(text).has_value(); }

// Rounds to the nearest whole number, halves to the even neighbour.
double RoundHalfEven(double value);

// Whole-number conversions with that rounding; empty when out of range.
std::optional<std::int16_t> ToInt16(double value);
std::optional<std::int32_t> ToInt32(double value);

}  // namespace platform
