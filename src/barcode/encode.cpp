#include "barcode/code128.h"
#include "barcode/code39.h"
#include "barcode/interleaved.h"
#include "barcode/symbol.h"
#include "barcode/upc_ean.h"

namespace barcode {

namespace {

Encoded EncodeAs(Symbology symbology, const QString& text) {
  switch (symbology) {
    case Symbology::Code39:
      return EncodeCode39(text);
    case Symbology::UpcA:
      return EncodeUpcA(text);
    case Symbology::Ean:
      return EncodeEan(text);
    case Symbology::Code128B:
      return EncodeCode128B(text);
    case Symbology::Code128Pattern:
      return EncodeCode128Pattern(text);
    case Symbology::Interleaved2of5:
      return EncodeInterleaved2of5(text);
  }
  return Encoded::Refused({});  // not reached: every symbology has its case
}

}  // namespace

Encoded Encode(Symbology symbology, const QString& text) {
  // Nothing typed: nothing to draw and nothing to say.
  if (text.isEmpty()) return Encoded::Refused({});
  if (text.size() > kLongestText)
    return Encoded::Refused({QStringLiteral("The text has %1 characters; a barcode text takes at most %2.")
                                 .arg(text.size())
                                 .arg(kLongestText),
                             -1,
                             {}});
  Encoded encoded = EncodeAs(symbology, text);
  if (encoded.symbol && encoded.symbol->data != text)
    encoded.symbol->note = QStringLiteral("encoded as %1").arg(encoded.symbol->data);
  return encoded;
}

}  // namespace barcode
