#pragma once
// The published symbol tables, written out here apart from the program's own:
// the tests and the fuzz targets judge the symbols and the drawn bars by them.
#include <cstring>
#include <string>
#include <vector>

namespace published {

// Code 128 values 0-106 as modules, 1 = bar (106: the stop with its final bar).
inline const char* const kCode128[107] = {
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

// Code 39: each character's nine elements (bar, space, ..., bar), 1 = wide.
inline constexpr char kCode39Chars[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%*";
inline const char* const kCode39[44] = {
    "000110100", "100100001", "001100001", "101100000", "000110001", "100110000", "001110000", "000100101",
    "100100100", "001100100", "100001001", "001001001", "101001000", "000011001", "100011000", "001011000",
    "000001101", "100001100", "001001100", "000011100", "100000011", "001000011", "101000010", "000010011",
    "100010010", "001010010", "000000111", "100000110", "001000110", "000010110", "110000001", "011000001",
    "111000000", "010010001", "110010000", "011010000", "010000101", "110000100", "011000100", "010101000",
    "010100010", "010001010", "000101010", "010010100"};
// The elements of c, or nullptr when Code 39 has no symbol for it.
inline const char* Code39(char c) {
  const char* at = c ? std::strchr(kCode39Chars, c) : nullptr;
  return at ? kCode39[at - kCode39Chars] : nullptr;
}

// UPC/EAN number set A; set C is its complement and set B set C reversed.
// The first digit of an EAN-13 sets which of the next six come from set B.
inline const char* const kEanSetA[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                         "0110001", "0101111", "0111011", "0110111", "0001011"};
inline const char* const kEanParity[10] = {"AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
                                           "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA"};
inline std::string EanDigit(int d, char set) {
  std::string m = kEanSetA[d];
  if (set != 'A')
    for (char& c : m) c = c == '1' ? '0' : '1';
  return set == 'B' ? std::string(m.rbegin(), m.rend()) : m;
}

// The UPC/EAN check digit: weights 3 and 1 from the right.
inline char CheckDigit(const std::string& digits) {
  int sum = 0;
  for (std::size_t i = 0; i < digits.size(); ++i) sum += (digits[digits.size() - 1 - i] - '0') * (i % 2 ? 1 : 3);
  return static_cast<char>('0' + (10 - sum % 10) % 10);
}

// Interleaved 2 of 5: each digit's five elements, W = wide.
inline const char* const kI25[10] = {"NNWWN", "WNNNW", "NWNNW", "WWNNN", "NNWNW",
                                     "WNWNN", "NWWNN", "NNNWW", "WNNWN", "NWNWN"};

// Whole symbols from the tables above, one character a module, '1' a bar.

// Code 39: text between the start and stop "*", wide elements two modules, a
// narrow gap between characters; "" when a character has no symbol.
inline std::string Code39Symbol(const std::string& text) {
  std::string modules;
  const std::string symbol = '*' + text + '*';
  for (std::size_t i = 0; i < symbol.size(); ++i) {
    const char* elements = Code39(symbol[i]);
    if (!elements) return {};
    if (i > 0) modules += '0';
    for (std::size_t e = 0; e < 9; ++e) modules.append(elements[e] == '1' ? 2 : 1, e % 2 == 0 ? '1' : '0');
  }
  return modules;
}

// EAN-13 of 12 digits or EAN-8 of 7, the check digit added; UPC-A is EAN-13
// with a leading 0.
inline std::string EanSymbol(const std::string& digits) {
  const std::string all = digits + CheckDigit(digits);
  const bool ean8 = all.size() == 8;
  const std::size_t first = ean8 ? 0 : 1, half = ean8 ? 4 : 7;
  std::string modules = "101";
  for (std::size_t i = first; i < all.size(); ++i) {
    if (i == half) modules += "01010";
    modules += EanDigit(all[i] - '0', i >= half ? 'C' : ean8 ? 'A' : kEanParity[all[0] - '0'][i - 1]);
  }
  return modules + "101";
}

// Code 128 code set B: Start B, the values, the modulo-103 check value
// (weights 1, 2, ... from the first value), the stop.
inline std::string Code128Symbol(const std::vector<int>& values, bool check = true) {
  std::string modules = kCode128[104];
  long sum = 104;
  for (std::size_t i = 0; i < values.size(); ++i) {
    modules += kCode128[values[i]];
    sum += values[i] * static_cast<long>(i + 1);
  }
  return modules + (check ? kCode128[sum % 103] : "") + kCode128[106];
}

// Interleaved 2 of 5 of an even number of digits, wide elements three modules.
inline std::string I25Symbol(const std::string& digits) {
  std::string modules = "1010";
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
    for (int k = 0; k < 5; ++k) {
      modules.append(kI25[digits[i] - '0'][k] == 'W' ? 3 : 1, '1');
      modules.append(kI25[digits[i + 1] - '0'][k] == 'W' ? 3 : 1, '0');
    }
  return modules + "11101";
}

}  // namespace published
