#include "platform/numbers.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace platform {

std::optional<double> ParseNumber(const QString& text) {
  const QString t = text.trimmed();
  if (t.isEmpty()) return std::nullopt;
  bool ok = false;
  double v = QLocale().toDouble(t, &ok);
  if (!ok) v = QLocale::c().toDouble(t, &ok);
  if (!ok || !std::isfinite(v)) return std::nullopt;
  return v;
}

double RoundHalfEven(double value) { return std::nearbyint(value); }  // default FE_TONEAREST

namespace {
template <typename T>
std::optional<T> ToWhole(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double r = RoundHalfEven(value);
  if (r < static_cast<double>(std::numeric_limits<T>::min()) ||
      r > static_cast<double>(std::numeric_limits<T>::max()))
    return std::nullopt;
  return static_cast<T>(r);
}
}  // namespace

std::optional<std::int16_t> ToInt16(double value) { return ToWhole<std::int16_t>(value); }
std::optional<std::int32_t> ToInt32(double value) { return ToWhole<std::int32_t>(value); }

}  // namespace platform
