#include "barcode/interleaved.h"

#include <string_view>

namespace barcode {

namespace {

// Each digit's five elements, bar or space alike: 'N' narrow, 'W' wide.
constexpr std::string_view kDigitElements[10] = {"NNWWN", "WNNNW", "NWNNW", "WWNNN", "NNWNW",
                                                 "WNWNN", "NWWNN", "NNNWW", "WNNWN", "NWNWN"};

Refusal Problem(const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i)
    if (text.at(i) < u'0' || text.at(i) > u'9')
      return {QStringLiteral("Code 2/5 takes digits only: \"%1\" (character %2) is not a digit.")
                  .arg(text.mid(i, 1))
                  .arg(i + 1),
              i,
              {}};
  if (text.size() < 2)
    return {QStringLiteral("Code 2/5 needs at least two digits (the text has %1).").arg(text.size()), -1, {}};
  if (text.size() > 20)
    return {QStringLiteral("Code 2/5 takes at most 20 digits (the text has %1).").arg(text.size()), -1, {}};
  return {};
}

}  // namespace

Encoded EncodeInterleaved2of5(const QString& text) {
  if (Refusal refusal = Problem(text); !refusal.message.isEmpty()) {
    // Under two characters nothing is encoded, so there is no error to show.
    if (text.size() >= 2) refusal.boxText = kSubscriptOutOfRange;
    return Encoded::Refused(refusal);
  }
  Symbol s;
  s.symbology = Symbology::Interleaved2of5;
  s.data = text.size() % 2 ? QLatin1Char('0') + text : text;  // a leading 0 keeps the number
  s.humanReadable = s.data;
  s.modules = "1010";  // start: narrow bar, narrow space, narrow bar, narrow space
  for (qsizetype i = 0; i < s.data.size(); i += 2) {
    const int bars = s.data.at(i).unicode() - u'0';
    const int spaces = s.data.at(i + 1).unicode() - u'0';
    s.values.insert(s.values.end(), {bars, spaces});
    for (std::size_t k = 0; k < 5; ++k) {
      s.modules.append(kDigitElements[bars][k] == 'W' ? 3 : 1, '1');
      s.modules.append(kDigitElements[spaces][k] == 'W' ? 3 : 1, '0');
    }
  }
  s.modules += "11101";  // stop: wide bar, narrow space, narrow bar
  return Encoded::Of(s);
}

}  // namespace barcode
