#pragma once
// What an encoder gives back: the symbol of a text, or why there is none.
#include "barcode/symbology.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace barcode {

// The least bar height printed where the bar height box sets it: a quarter
// inch at 96 pixels per inch, the least the Code 39, Code 128 and
// Interleaved 2 of 5 standards allow for any symbol.
inline constexpr int kMinBarPixels = 24;

// The longest text any symbology is asked to take; longer ones are refused
// with their length.
inline constexpr qsizetype kLongestText = 32767;

struct Refusal {
  QString message;          // in the user's words; "" when there is nothing to say (an empty text)
  qsizetype position = -1;  // the refused character (0-based, in the text as typed), -1 for the text as a whole
  QString boxText;          // the message box an explicit command shows ("" for none)
};

struct Symbol {
  Symbology symbology = Symbology::Code39;
  // One character a module, from the first bar to the last: '1' bar, '0' space.
  std::string modules;
  // EAN and UPC-A: '1' for the modules of the guard patterns, one character a
  // module as above; empty for the others.
  std::string guards;
  QString data;           // the text the bars carry (Code 39 upper-cased, Code 2/5 completed, UPC-A trimmed)
  QString humanReadable;  // the text line's text (UPC-A and EAN: the digits and the check digit)
  // For the user, where a scanner reads other than what was typed (the check
  // digits aside): "encoded as 0123" for a Code 2/5 "123", "encoded as ABC"
  // for a Code 39 "abc"; "" when data is the text as typed.
  QString note;
  // The symbol character values from the first to the last (Code 128: Start
  // B, the data, the check character, the stop); the digits for UPC-A and
  // EAN, the check digit last.
  std::vector<int> values;
};

// A symbol, or the refusal that says why there is none.
struct Encoded {
  std::optional<Symbol> symbol;
  Refusal refusal;  // when there is no symbol
  static Encoded Of(Symbol s) { return {std::move(s), {}}; }
  static Encoded Refused(Refusal r) { return {std::nullopt, std::move(r)}; }
};

// The text as the symbology encodes it, or the refusal.
Encoded Encode(Symbology symbology, const QString& text);

}  // namespace barcode
