#pragma once
// Independent references for the Code 128 and Interleaved 2 of 5 tests: the
// published tables (Code 128 as module strings, 1 = bar; Interleaved 2 of 5 as
// narrow/wide) and a drawn row read back into modules. Widths are strings of
// digits, bar first.
#include "support/form_fixture.h"

#include <string>
#include <vector>

namespace code128_test {

inline const char* const kModules[107] = {
    "11011001100", "11001101100", "11001100110", "10010011000", "10010001100", "10001001100", "10011001000",
    "10011000100", "10001100100", "11001001000", "11001000100", "11000100100", "10110011100", "10011011100",
    "10011001110", "10111001100", "10011101100", "10011100110", "11001110010", "11001011100", "11001001110",
    "11011100100", "11001110100", "11101101110", "11101001100", "11100101100", "11100100110", "11101100100",
    "11100110100", "11100110010", "11011011000", "11011000110", "11000110110", "10100011000", "10001011000",
    "10001000110", "10110001000", "10001101000", "10001100010", "11010001000", "11000101000", "11000100010",
    "10110111000", "10110001110", "10001101110", "10111011000", "10111000110", "10001110110", "11101110110",
    "11010001110", "11000101110", "11011101000", "11011100010", "11011101110", "11101011000", "11101000110",
    "11100010110", "11101101000", "11101100010", "11100011010", "11101111010", "11001000010", "11110001010",
    "10100110000", "10100001100", "10010110000", "10010000110", "10000101100", "10000100110", "10110010000",
    "10110000100", "10011010000", "10011000010", "10000110100", "10000110010", "11000010010", "11001010000",
    "11110111010", "11000010100", "10001111010", "10100111100", "10010111100", "10010011110", "10111100100",
    "10011110100", "10011110010", "11110100100", "11110010100", "11110010010", "11011011110", "11011110110",
    "11110110110", "10101111000", "10100011110", "10001011110", "10111101000", "10111100010", "11110101000",
    "11110100010", "10111011110", "10111101110", "11101011110", "11110101110", "11010000100", "11010010000",
    "11010011100", "1100011101011",
};

// Start B, the values, the modulo-103 check character (when check), the stop.
inline std::string Ref128(const std::vector<int>& values, bool check = true) {
  std::string modules = kModules[104];
  long sum = 104;
  for (std::size_t i = 0; i < values.size(); ++i) {
    modules += kModules[values[i]];
    sum += values[i] * static_cast<long>(i + 1);
  }
  modules += std::string(check ? kModules[sum % 103] : "") + kModules[106];
  std::string runs;
  for (std::size_t i = 0; i < modules.size(); ++i)
    if (i > 0 && modules[i] == modules[i - 1]) ++runs.back(); else runs += '1';
  return runs;
}

// Code set B of printable ASCII.
inline std::string Ref128B(const std::string& text) {
  std::vector<int> values;
  for (const char c : text) values.push_back(c - 32);
  return Ref128(values);
}

// Interleaved 2 of 5 of an even number of digits, wide = 3.
inline std::string RefI25(const std::string& digits) {
  static const char* const kDigits[10] = {"NNWWN", "WNNNW", "NWNNW", "WWNNN", "NNWNW",
                                          "WNWNN", "NWWNN", "NNNWW", "WNNWN", "NWNWN"};
  std::string out = "1111";
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
    for (int k = 0; k < 5; ++k)
      for (const char d : {digits[i], digits[i + 1]}) out += kDigits[d - '0'][k] == 'W' ? '3' : '1';
  return out + "311";
}

// The runs of one pixel row from the first dark pixel in modules; '?' for a
// run that is not a whole number of modules.
inline std::string ModulesOfRow(const QImage& image, int row, int modulePixels) {
  std::string s;
  for (const int run : test_support::DarkLightRuns(image, row))
    s += run % modulePixels == 0 ? std::to_string(run / modulePixels) : std::string("?");
  return s;
}

}  // namespace code128_test
