#pragma once
// Code 128 and Interleaved 2 of 5 symbols built from the published tables, and
// a drawn row read back into modules. Widths are strings of digits, bar first.
#include "support/window_fixture.h"
#include "support/published_tables.h"

#include <string>
#include <vector>

namespace code128_test {


// Start B, the values, the modulo-103 check character (when check), the stop.
inline std::string Ref128(const std::vector<int>& values, bool check = true) {
  std::string modules = published::kCode128[104];
  long sum = 104;
  for (std::size_t i = 0; i < values.size(); ++i) {
    modules += published::kCode128[values[i]];
    sum += values[i] * static_cast<long>(i + 1);
  }
  return published::Runs(modules + (check ? published::kCode128[sum % 103] : "") + published::kCode128[106]);
}

// Code set B of printable ASCII.
inline std::string Ref128B(const std::string& text) {
  std::vector<int> values;
  for (const char c : text) values.push_back(c - 32);
  return Ref128(values);
}

// Interleaved 2 of 5 of an even number of digits, wide = 3.
inline std::string RefI25(const std::string& digits) {
  std::string out = "1111";
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
    for (int k = 0; k < 5; ++k)
      for (const char d : {digits[i], digits[i + 1]}) out += published::kI25[d - '0'][k] == 'W' ? '3' : '1';
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
