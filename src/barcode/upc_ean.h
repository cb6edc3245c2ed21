#pragma once
// UPC-A, EAN-13 and EAN-8: digits and their check digit in the EAN/UPC
// number sets, one module string of 95 (UPC-A, EAN-13) or 67 (EAN-8).
#include "barcode/symbol.h"

#include <span>

namespace barcode {

// The UPC/EAN check digit of the digits before it: weights 3, 1, 3, ... from
// the right, the sum made up to a multiple of ten.
int CheckDigit(std::span<const int> digits);

// Eleven digits, blanks around them trimmed first (spaces only): left-hand
// digits in set A, right-hand ones in set C, the check digit added.
Encoded EncodeUpcA(const QString& text);

// Seven digits as EAN-8 or twelve as EAN-13, as typed (nothing trimmed); the
// check digit is added, never typed.
Encoded EncodeEan(const QString& text);

}  // namespace barcode
