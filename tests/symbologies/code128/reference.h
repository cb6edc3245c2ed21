#pragma once
// Independent references for the Code 128 and Interleaved 2 of 5 tests: the
// published Code 128 table written as module strings (1 = bar), the
// published Interleaved 2 of 5 narrow/wide table, and reading a drawn image
// back into modules.
#include <QImage>

#include <string>
#include <vector>

namespace code128_test {

// Element widths (bar first) of the Code 128 symbol value v, 0..106.
std::vector<int> Code128Elements(int value);

// Code 128 code set B of printable ASCII: Start B, the characters, the
// modulo-103 check character (when check), the stop; as element widths.
std::vector<int> ReferenceCode128B(const std::string& text, bool check = true);
// The same for given symbol values (without start, check and stop).
std::vector<int> ReferenceCode128Values(const std::vector<int>& values, bool check = true);

// Interleaved 2 of 5 of an even number of digits, wide = 3, as element widths.
std::vector<int> ReferenceInterleaved2of5(const std::string& digits);

// The run lengths of one pixel row from the first dark pixel, each divided by
// modulePixels; a run that is not a whole number of modules becomes -1.
std::vector<int> ModulesOfRow(const QImage& image, int row, int modulePixels);

// "211214 111323" style text of widths, for messages.
std::string Widths(const std::vector<int>& widths);

}  // namespace code128_test
