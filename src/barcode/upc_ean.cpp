#include "barcode/upc_ean.h"

#include <array>
#include <string_view>

namespace barcode {

namespace {

// The number sets of ISO/IEC 15420 by digit, "1" a bar module: A (left-hand,
// odd parity), B (left-hand, even parity) and C (right-hand).
using NumberSet = std::array<std::string_view, 10>;
constexpr NumberSet kSetA = {"0001101", "0011001", "0010011", "0111101", "0100011",
                             "0110001", "0101111", "0111011", "0110111", "0001011"};
constexpr NumberSet kSetB = {"0100111", "0110011", "0011011", "0100001", "0011101",
                             "0111001", "0000101", "0010001", "0001001", "0010111"};
constexpr NumberSet kSetC = {"1110010", "1100110", "1101100", "1000010", "1011100",
                             "1001110", "1010000", "1000100", "1001000", "1110100"};
// EAN-13: the sets of the digits in positions 2 to 7 by the first digit,
// which has no modules of its own ("O" set A, "E" set B).
constexpr std::array<std::string_view, 10> kParity = {"OOOOOO", "OOEOEE", "OOEEOE", "OOEEEO", "OEOOEE",
                                                      "OEEOOE", "OEEEOO", "OEOEOE", "OEOEEO", "OEEOEO"};

// Set C is set A with bars and spaces swapped; set B is set C mirrored.
constexpr bool SetsAgree() {
  for (size_t d = 0; d < 10; ++d)
    for (size_t m = 0; m < 7; ++m)
      if (kSetC[d][m] == kSetA[d][m] || kSetB[d][m] != kSetC[d][6 - m]) return false;
  return true;
}
static_assert(SetsAgree(), "the number sets A, B and C must be one another's complement and mirror");

constexpr std::string_view kEndGuard = "101";
constexpr std::string_view kCentreGuard = "01010";

// Appends a run of modules, marking them as guard modules or not.
void Append(Symbol& symbol, std::string_view modules, bool guard) {
  symbol.modules += modules;
  symbol.guards.append(modules.size(), guard ? '1' : '0');
}

// The symbol of digits from first on, the check digit last: one digit for
// each letter of leftSets before the centre guard, in the set the letter
// names ('O' set A, 'E' set B), the rest in set C.
Symbol Modules(Symbology symbology, const std::vector<int>& digits, size_t first, std::string_view leftSets) {
  Symbol symbol;
  symbol.symbology = symbology;
  Append(symbol, kEndGuard, true);
  for (size_t i = first; i < digits.size(); ++i) {
    const size_t k = i - first;
    if (k == leftSets.size()) Append(symbol, kCentreGuard, true);
    const auto d = static_cast<size_t>(digits[i]);
    Append(symbol, k < leftSets.size() ? (leftSets[k] == 'E' ? kSetB[d] : kSetA[d]) : kSetC[d], false);
  }
  Append(symbol, kEndGuard, true);
  return symbol;
}

// The first character of code that is not a digit, or -1.
qsizetype FirstNonDigit(const QString& code) {
  for (qsizetype i = 0; i < code.size(); ++i)
    if (code.at(i) < QLatin1Char('0') || code.at(i) > QLatin1Char('9')) return i;
  return -1;
}

// The digits of an all-digit code with its check digit last.
std::vector<int> WithCheckDigit(const QString& code) {
  std::vector<int> digits;
  for (const QChar c : code) digits.push_back(c.unicode() - u'0');
  digits.push_back(CheckDigit(digits));
  return digits;
}

QString Text(const std::vector<int>& digits) {
  QString text;
  for (const int d : digits) text += QChar(u'0' + d);
  return text;
}

Refusal NotADigit(const char* name, const QString& code, qsizetype i, qsizetype typedAt) {
  return {QStringLiteral("%1 takes digits only: \"%2\" (character %3) is not a digit.")
              .arg(QLatin1String(name), code.mid(i, 1))
              .arg(i + 1),
          typedAt,
          {}};
}

}  // namespace

int CheckDigit(std::span<const int> digits) {
  int sum = 0;
  for (size_t i = 0; i < digits.size(); ++i) sum += digits[digits.size() - 1 - i] * (i % 2 == 0 ? 3 : 1);
  return (10 - sum % 10) % 10;
}

Encoded EncodeUpcA(const QString& text) {
  qsizetype first = 0;
  qsizetype last = text.size();
  while (first < last && text.at(first) == QLatin1Char(' ')) ++first;
  while (last > first && text.at(last - 1) == QLatin1Char(' ')) --last;
  const QString code = text.mid(first, last - first);
  // Anything but exactly eleven digits would carry other data than typed.
  if (code.size() != 11)
    return Encoded::Refused(
        {QStringLiteral("UPC-A needs 11 digits (the check digit is added); got %1 characters.").arg(code.size()),
         -1,
         {}});
  if (const qsizetype bad = FirstNonDigit(code); bad >= 0)
    return Encoded::Refused(NotADigit("UPC-A", code, bad, first + bad));
  const std::vector<int> digits = WithCheckDigit(code);
  Symbol symbol = Modules(Symbology::UpcA, digits, 0, "OOOOOO");
  symbol.data = code;
  symbol.humanReadable = Text(digits);
  symbol.values = digits;
  return Encoded::Of(std::move(symbol));
}

Encoded EncodeEan(const QString& text) {
  if (text.size() != 7 && text.size() != 12)
    return Encoded::Refused(
        {QStringLiteral("EAN needs 7 digits (EAN-8) or 12 digits (EAN-13) without the check digit; got %1 characters.")
             .arg(text.size()),
         -1,
         {}});
  if (const qsizetype bad = FirstNonDigit(text); bad >= 0) return Encoded::Refused(NotADigit("EAN", text, bad, bad));
  const std::vector<int> digits = WithCheckDigit(text);
  // An EAN-13's first digit sets the parity of the next six; EAN-8 takes set
  // A on the left.
  const bool ean13 = text.size() == 12;
  Symbol symbol = ean13 ? Modules(Symbology::Ean, digits, 1, kParity[static_cast<size_t>(digits[0])])
                        : Modules(Symbology::Ean, digits, 0, "OOOO");
  symbol.data = text;
  symbol.humanReadable = Text(digits);
  symbol.values = digits;
  return Encoded::Of(std::move(symbol));
}

}  // namespace barcode
