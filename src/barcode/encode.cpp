#include "barcode/code128.h"
#include "barcode/interleaved.h"
#include "barcode/symbol.h"

namespace barcode {

Encoded Encode(Symbology symbology, const QString& text) {
  // Nothing typed: nothing to draw and nothing to say.
  if (text.isEmpty()) return Encoded::Refused({});
  if (text.size() > kLongestText)
    return Encoded::Refused({QStringLiteral("The text has %1 characters; a barcode text takes at most %2.")
                                 .arg(text.size())
                                 .arg(kLongestText),
                             -1,
                             {}});
  switch (symbology) {
    case Symbology::Code128B:
      return EncodeCode128B(text);
    case Symbology::Code128Pattern:
      return EncodeCode128Pattern(text);
    case Symbology::Interleaved2of5:
      return EncodeInterleaved2of5(text);
    default:
      return Encoded::Refused({});
  }
}

}  // namespace barcode
