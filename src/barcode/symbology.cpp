#include "barcode/symbology.h"

namespace barcode {

namespace {
constexpr const char* kNames[] = {"code39", "code128b", "code128-1", "code25", "upc", "ean"};
}  // namespace

QString NameOf(Symbology symbology) { return QLatin1String(kNames[static_cast<int>(symbology)]); }

std::optional<Symbology> SymbologyNamed(const QString& name) {
  for (const Symbology s : kSymbologies)
    if (name == NameOf(s)) return s;
  return std::nullopt;
}

}  // namespace barcode
