#include "jobs/range_numbers.h"

#include "platform/numbers.h"

#include <cstdio>

namespace jobs {

QString GeneralFormat(double value, const QLocale& locale) {
  if (value == 0) return QStringLiteral("0");
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14e", value);  // [-]d.dddddddddddddde[+-]x
  QString text = QString::fromLatin1(buffer);
  const bool negative = text.startsWith(QLatin1Char('-'));
  if (negative) text.remove(0, 1);
  const qsizetype e = text.indexOf(QLatin1Char('e'));
  const int exponent = text.mid(e + 1).toInt();
  QString digits = text.left(e).remove(QLatin1Char('.'));
  while (digits.size() > 1 && digits.endsWith(QLatin1Char('0'))) digits.chop(1);
  QString out;
  if (exponent < 0) {
    out = QStringLiteral("0") + locale.decimalPoint() + QString(-exponent - 1, QLatin1Char('0')) + digits;
  } else if (digits.size() <= exponent + 1) {
    out = digits + QString(exponent + 1 - digits.size(), QLatin1Char('0'));
  } else {
    out = digits.left(exponent + 1) + locale.decimalPoint() + digits.mid(exponent + 1);
  }
  return negative ? locale.negativeSign() + out : out;
}

std::optional<QString> NextFrom(double from, const QLocale& locale) {
  const QString next = GeneralFormat(from + 1, locale);
  const std::optional<double> back = platform::ParseNumber(next);
  if (!back || *back <= from) return std::nullopt;
  return next;
}

}  // namespace jobs
