#pragma once
// Interleaved 2 of 5 ("Code 2/5"): digit pairs, the first digit of a pair in
// the bars and the second in the spaces, wide elements three modules, no
// check digit.
#include "barcode/symbol.h"

#include <QString>

namespace barcode {

// The box text of a "Code 2/5" text of two characters or more that cannot be
// encoded (the run-time error number, a line break and its description).
inline const QString kSubscriptOutOfRange = QStringLiteral("9\r\nSubscript out of range");

// Digits only, from 2 to 20 of them; an odd count is completed with a "0" in
// front, which keeps the number (Symbol.data, humanReadable and note show it). Symbol.values are the
// digits. Refusals count and place what was typed.
Encoded EncodeInterleaved2of5(const QString& text);

}  // namespace barcode
