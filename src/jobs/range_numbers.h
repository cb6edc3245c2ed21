#pragma once
// The numbers of an incrementing run ("Run It"): the From and To texts read
// as numbers in the user's locale, and the next From written back.
#include <QLocale>
#include <QString>

#include <optional>

namespace jobs {

// A number as general-format text: at most 15 significant digits, no
// leading or trailing zeros beyond the needed ones, no thousands
// separators, the locale's decimal separator, never an exponent.
QString GeneralFormat(double value, const QLocale& locale = QLocale());

// What the step after From writes back into the From box, or nothing when
// that text would not read as a larger number (From has more digits than 15
// significant ones can count with), which would print the same number for
// ever.
std::optional<QString> NextFrom(double from, const QLocale& locale = QLocale());

}  // namespace jobs
