#include "barcode/code128.h"

#include "barcode/code_page.h"

#include <vector>

namespace barcode {

namespace {

// The first position (1-based) where a value times its position passes 32767,
// or 0.
qsizetype FirstOverweight(const std::vector<int>& values) {
  for (std::size_t i = 0; i < values.size(); ++i)
    if (static_cast<qint64>(values[i]) * static_cast<qint64>(i + 1) > 32767) return static_cast<qsizetype>(i + 1);
  return 0;
}

Refusal TooHeavy(const QString& text, qsizetype position) {
  return {QStringLiteral("The text is too long for a Code 128 barcode (%1 characters): a character's value times "
                         "its position may be at most 32767, and character %2 passes that.")
              .arg(text.size())
              .arg(position),
          position - 1,
          {}};
}

// Start B, the data values, the modulo-103 check value and the stop, and their
// modules.
Symbol Code128Symbol(Symbology symbology, const QString& text, const std::vector<int>& data) {
  Symbol s;
  s.symbology = symbology;
  s.data = text;
  s.humanReadable = text;
  s.values.push_back(kCode128StartB);
  qint64 sum = kCode128StartB;
  for (std::size_t i = 0; i < data.size(); ++i) {
    s.values.push_back(data[i]);
    sum += static_cast<qint64>(data[i]) * static_cast<qint64>(i + 1);
  }
  s.values.push_back(static_cast<int>(sum % 103));
  s.values.push_back(kCode128Stop);
  for (const int v : s.values) {
    const std::string_view widths = kCode128Patterns[static_cast<std::size_t>(v)];
    for (std::size_t e = 0; e < widths.size(); ++e)
      s.modules.append(static_cast<std::size_t>(widths[e] - '0'), e % 2 ? '0' : '1');
  }
  return s;
}

}  // namespace

std::optional<int> Code128BValue(unsigned char c) {
  if (c >= 32 && c <= 127) return c - 32;
  switch (c) {
    case 179:
      return 96;
    case 178:
      return 97;
    case 188:
      return 100;
    case 185:
      return 102;
    default:
      return std::nullopt;
  }
}

Encoded EncodeCode128B(const QString& text) {
  const AnsiText ansi = ToAnsi(text);
  // The weights are those of the code-page bytes, a refused character
  // weighing nothing: the weight limit is judged before the characters.
  std::vector<int> values;
  for (const char b : ansi.bytes) values.push_back(Code128BValue(static_cast<unsigned char>(b)).value_or(0));
  if (const qsizetype at = FirstOverweight(values)) return Encoded::Refused(TooHeavy(text, at));

  // Before the first character the code page cannot hold, characters and
  // bytes match one to one (every Windows-1252 character is one UTF-16 unit).
  qsizetype refused = ansi.ok() ? -1 : ansi.firstUnmappable;
  const qsizetype mapped = ansi.ok() ? text.size() : ansi.firstUnmappable;
  for (qsizetype i = 0; i < mapped && refused < 0; ++i)
    if (!Code128BValue(static_cast<unsigned char>(ansi.bytes.at(i)))) refused = i;
  if (refused >= 0) {
    const qsizetype length = text.at(refused).isHighSurrogate() && refused + 1 < text.size() ? 2 : 1;
    return Encoded::Refused(
        {QStringLiteral("Code 128 B cannot encode \"%1\" (character %2). It takes the characters "
                        "from space to ~, DEL, and \u00b9 \u00b2 \u00b3 \u00bc as function characters.")
             .arg(text.mid(refused, length))
             .arg(refused + 1),
         refused, kCode128BErrorBox});
  }
  return Encoded::Of(Code128Symbol(Symbology::Code128B, text, values));
}

Encoded EncodeCode128Pattern(const QString& text) {
  std::vector<int> values;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text.at(i).unicode();
    // Skipping it would give a barcode that says less than its text line.
    if (c < 32 || c > 126)
      return Encoded::Refused(
          {QStringLiteral("Code 128-1 cannot encode \"%1\" (character %2). It takes the characters from space to ~.")
               .arg(text.mid(i, 1))
               .arg(i + 1),
           i,
           {}});
    values.push_back(c - 32);
  }
  if (const qsizetype at = FirstOverweight(values)) return Encoded::Refused(TooHeavy(text, at));
  return Encoded::Of(Code128Symbol(Symbology::Code128Pattern, text, values));
}

}  // namespace barcode
