#include "symbologies/code128/reference.h"

#include "support/form_fixture.h"

#include <stdexcept>

namespace code128_test {

namespace {

// The published Code 128 bar/space patterns, values 0 to 106 (1 = a dark module).
const char* const kModules[107] = {
    "11011001100", "11001101100", "11001100110", "10010011000", "10010001100", "10001001100",
    "10011001000", "10011000100", "10001100100", "11001001000", "11001000100", "11000100100",
    "10110011100", "10011011100", "10011001110", "10111001100", "10011101100", "10011100110",
    "11001110010", "11001011100", "11001001110", "11011100100", "11001110100", "11101101110",
    "11101001100", "11100101100", "11100100110", "11101100100", "11100110100", "11100110010",
    "11011011000", "11011000110", "11000110110", "10100011000", "10001011000", "10001000110",
    "10110001000", "10001101000", "10001100010", "11010001000", "11000101000", "11000100010",
    "10110111000", "10110001110", "10001101110", "10111011000", "10111000110", "10001110110",
    "11101110110", "11010001110", "11000101110", "11011101000", "11011100010", "11011101110",
    "11101011000", "11101000110", "11100010110", "11101101000", "11101100010", "11100011010",
    "11101111010", "11001000010", "11110001010", "10100110000", "10100001100", "10010110000",
    "10010000110", "10000101100", "10000100110", "10110010000", "10110000100", "10011010000",
    "10011000010", "10000110100", "10000110010", "11000010010", "11001010000", "11110111010",
    "11000010100", "10001111010", "10100111100", "10010111100", "10010011110", "10111100100",
    "10011110100", "10011110010", "11110100100", "11110010100", "11110010010", "11011011110",
    "11011110110", "11110110110", "10101111000", "10100011110", "10001011110", "10111101000",
    "10111100010", "11110101000", "11110100010", "10111011110", "10111101110", "11101011110",
    "11110101110", "11010000100", "11010010000", "11010011100", "1100011101011",
};

// The published Interleaved 2 of 5 digits: N narrow, W wide.
const char* const kI25[10] = {"NNWWN", "WNNNW", "NWNNW", "WWNNN", "NNWNW",
                              "WNWNN", "NWWNN", "NNNWW", "WNNWN", "NWNWN"};

}  // namespace

std::vector<int> Code128Elements(int value) {
  std::vector<int> runs;
  const std::string m = kModules[value];
  for (std::size_t i = 0; i < m.size(); ++i) {
    if (i == 0 || m[i] != m[i - 1])
      runs.push_back(1);
    else
      ++runs.back();
  }
  return runs;
}

std::vector<int> ReferenceCode128Values(const std::vector<int>& values, bool check) {
  std::vector<int> out = Code128Elements(104);
  long sum = 104;
  for (std::size_t i = 0; i < values.size(); ++i) {
    const auto e = Code128Elements(values[i]);
    out.insert(out.end(), e.begin(), e.end());
    sum += values[i] * static_cast<long>(i + 1);
  }
  if (check) {
    const auto e = Code128Elements(static_cast<int>(sum % 103));
    out.insert(out.end(), e.begin(), e.end());
  }
  const auto stop = Code128Elements(106);
  out.insert(out.end(), stop.begin(), stop.end());
  return out;
}

std::vector<int> ReferenceCode128B(const std::string& text, bool check) {
  std::vector<int> values;
  for (const char c : text) {
    if (c < 32 || c > 126) throw std::invalid_argument("not printable ASCII");
    values.push_back(c - 32);
  }
  return ReferenceCode128Values(values, check);
}

std::vector<int> ReferenceInterleaved2of5(const std::string& digits) {
  std::vector<int> out{1, 1, 1, 1};
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
    const char* bars = kI25[digits[i] - '0'];
    const char* spaces = kI25[digits[i + 1] - '0'];
    for (int k = 0; k < 5; ++k) {
      out.push_back(bars[k] == 'W' ? 3 : 1);
      out.push_back(spaces[k] == 'W' ? 3 : 1);
    }
  }
  out.insert(out.end(), {3, 1, 1});
  return out;
}

std::vector<int> ModulesOfRow(const QImage& image, int row, int modulePixels) {
  std::vector<int> modules;
  for (const int run : test_support::DarkLightRuns(image, row))
    modules.push_back(run % modulePixels == 0 ? run / modulePixels : -1);
  return modules;
}

std::string Widths(const std::vector<int>& widths) {
  std::string s;
  for (const int w : widths) s += w < 0 ? std::string("?") : std::to_string(w);
  return s;
}

}  // namespace code128_test
