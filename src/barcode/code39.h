#pragma once
// Code 39: the text framed by the start and stop character "*", narrow and
// wide elements at the ratio 1 : 2, a narrow gap between characters, no
// check character.
#include "barcode/symbol.h"

namespace barcode {

// a-z upper-cased (every other character as typed); the modules run from the
// start character's first bar to the stop character's last bar. Refused: a
// character outside the 43 of the table, and "*", which would end the symbol
// early.
Encoded EncodeCode39(const QString& text);

}  // namespace barcode
