#pragma once
// The symbologies Quillon draws, and their names on the command line.
#include <QString>

#include <optional>

namespace barcode {

enum class Symbology {
  Code39,           // "Code 39"
  Code128B,         // "Code 128 B": code set B with its caption, the function characters too
  Code128Pattern,   // "Code 128-1": code set B from the pattern table, space to "~" only
  Interleaved2of5,  // "Code 2/5"
  UpcA,             // "UPC"
  Ean,              // "EAN": EAN-13 for 12 digits, EAN-8 for 7
};

inline constexpr Symbology kSymbologies[] = {Symbology::Code39,          Symbology::Code128B, Symbology::Code128Pattern,
                                             Symbology::Interleaved2of5, Symbology::UpcA,     Symbology::Ean};

// code39, code128b, code128-1, code25, upc, ean.
QString NameOf(Symbology symbology);
std::optional<Symbology> SymbologyNamed(const QString& name);

}  // namespace barcode
