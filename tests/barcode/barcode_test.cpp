// The encoders: text -> symbol or refusal, the symbols judged by the
// published tables (tests/support/published_tables.h), never by the
// program's own.
#include "barcode/code_page.h"
#include "barcode/symbol.h"
#include "support/published_tables.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using barcode::Symbology;
using namespace Qt::StringLiterals;

// Start B, the data values, the check value, the stop.
std::string Code128Modules(const std::vector<int>& data, int check) {
  std::string modules = published::kCode128[104];
  for (const int v : data) modules += published::kCode128[v];
  return modules + published::kCode128[check] + published::kCode128[106];
}

// An even number of digits, wide elements three modules.
std::string I25Modules(const std::string& digits) {
  std::string modules = "1010";
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
    for (int k = 0; k < 5; ++k) {
      modules.append(published::kI25[digits[i] - '0'][k] == 'W' ? 3 : 1, '1');
      modules.append(published::kI25[digits[i + 1] - '0'][k] == 'W' ? 3 : 1, '0');
    }
  return modules + "11101";
}

TEST(Code128, SymbolsAreStartBTheValuesTheCheckAndTheStopOfThePublishedTable) {
  QString printable;
  std::vector<int> all;
  for (int c = 32; c < 127; ++c) printable += QChar(c), all.push_back(c - 32);
  std::vector<int> spaces(347, 0);
  spaces.push_back(94);
  const struct {
    Symbology symbology;
    QString text;
    std::vector<int> values;
    int check;
  } rows[] = {
      {Symbology::Code128B, u"A"_s, {33}, 34},
      {Symbology::Code128B, u"\u00b9A"_s, {102, 33}, 66},                         // FNC 1
      {Symbology::Code128B, u"\x7f\u00b3\u00b2\u00bc"_s, {95, 96, 97, 100}, 52},  // DEL, FNC 3, FNC 2, FNC 4
      {Symbology::Code128B, u" ~"_s, {0, 94}, 86},
      {Symbology::Code128Pattern, u"l"_s, {76}, 77},
      {Symbology::Code128Pattern, u"I"_s, {41}, 42},
      {Symbology::Code128Pattern, u"Hi!"_s, {40, 73, 1}, 87},
      {Symbology::Code128Pattern, printable, all, 39},
      // "~" (94) at position 348 weighs 32712, within 16 bits.
      {Symbology::Code128Pattern, QString(347, u' ') + u'~', spaces, 62},
  };
  for (const auto& row : rows) {
    const barcode::Encoded e = barcode::Encode(row.symbology, row.text);
    ASSERT_TRUE(e.symbol) << row.text.toStdString() << ": " << e.refusal.message.toStdString();
    EXPECT_EQ(e.symbol->modules, Code128Modules(row.values, row.check)) << row.text.toStdString();
    std::vector<int> values{104};
    values.insert(values.end(), row.values.begin(), row.values.end());
    values.insert(values.end(), {row.check, 106});
    EXPECT_EQ(e.symbol->values, values);
    EXPECT_TRUE(e.symbol->data == row.text && e.symbol->humanReadable == row.text);
  }
}

TEST(Interleaved2of5, SymbolsInterleaveDigitPairsAndCompleteAnOddCountWithATrailingZero) {
  const std::pair<QString, std::string> rows[] = {
      {u"1234"_s, "1234"}, {u"90"_s, "90"}, {u"123"_s, "1230"}, {u"0918273645"_s, "0918273645"},
      {u"12345678901234567890"_s, "12345678901234567890"}, {u"5678901234567890123"_s, "56789012345678901230"}};
  for (const auto& [text, digits] : rows) {
    const barcode::Encoded e = barcode::Encode(Symbology::Interleaved2of5, text);
    ASSERT_TRUE(e.symbol) << text.toStdString();
    EXPECT_EQ(e.symbol->modules, I25Modules(digits)) << digits;
    EXPECT_TRUE(e.symbol->data == QString::fromStdString(digits) && e.symbol->humanReadable == e.symbol->data);
  }
}

TEST(Code128AndInterleaved, RefusalsSayWhatAndWhereAndWhichShowAMessageBox) {
  const QString box = u"There was an Unknow Error please send an email to support@quillon.example "_s;
  const QString nine = u"9\r\nSubscript out of range"_s;
  const QString cannotB = u"Code 128 B cannot encode \"%1\" (character %2). It takes the characters from space to ~, "
                          "DEL, and \u00b9 \u00b2 \u00b3 \u00bc as function characters."_s;
  const QString cannot1 = u"Code 128-1 cannot encode \"%1\" (character %2). It takes the characters from space to ~."_s;
  const QString notDigit = u"Code 2/5 takes digits only: \"%1\" (character %2) is not a digit."_s;
  const QString heavy = u"The text is too long for a Code 128 barcode (%1 characters): a character's value times its "
                        "position may be at most 32767, and character %2 passes that."_s;
  const QString spaces = QString(348, u' ') + u'~';
  const struct {
    Symbology symbology;
    QString text, message;
    qsizetype position;
    QString boxText;
  } rows[] = {
      {Symbology::Code128B, u"ab\u00e9"_s, cannotB.arg(u"\u00e9"_s).arg(3), 2, box},
      {Symbology::Code128B, u"x\u0101"_s, cannotB.arg(u"\u0101"_s).arg(2), 1, box},
      {Symbology::Code128B, u"a\U0001F600"_s, cannotB.arg(u"\U0001F600"_s).arg(2), 1, box},
      {Symbology::Code128B, u"\x10"_s, cannotB.arg(u"\x10"_s).arg(1), 0, box},
      {Symbology::Code128B, u"\u0080"_s, cannotB.arg(u"\u0080"_s).arg(1), 0, box},
      // The weight is judged before the characters for Code 128 B, after them for Code 128-1.
      {Symbology::Code128B, spaces, heavy.arg(349).arg(349), 348, {}},
      {Symbology::Code128B, spaces + u'\t', heavy.arg(350).arg(349), 348, {}},
      {Symbology::Code128Pattern, spaces + u'\t', cannot1.arg(u"\t"_s).arg(350), 349, {}},
      {Symbology::Code128Pattern, u"\u00b9"_s, cannot1.arg(u"\u00b9"_s).arg(1), 0, {}},
      // Code 2/5 counts what was typed; under two characters there is no box.
      {Symbology::Interleaved2of5, u"7"_s, u"Code 2/5 needs at least two digits (the text has 1)."_s, -1, {}},
      {Symbology::Interleaved2of5, u"a"_s, notDigit.arg(u"a"_s).arg(1), 0, {}},
      {Symbology::Interleaved2of5, u"1x"_s, notDigit.arg(u"x"_s).arg(2), 1, nine},
      {Symbology::Interleaved2of5, u"\u0661\u0662"_s, notDigit.arg(u"\u0661"_s).arg(1), 0, nine},
      {Symbology::Interleaved2of5, QString(21, u'1'), u"Code 2/5 takes at most 20 digits (the text has 21)."_s, -1,
       nine},
      // Every symbology: nothing typed says nothing; past the longest text, its length.
      {Symbology::Code128B, {}, {}, -1, {}},
      {Symbology::Interleaved2of5, QString(32768, u'1'), u"The text has 32768 characters; a barcode text takes at most "
                                                          "32767."_s, -1, {}},
  };
  for (const auto& row : rows) {
    const barcode::Encoded e = barcode::Encode(row.symbology, row.text);
    ASSERT_FALSE(e.symbol) << row.text.left(20).toStdString();
    EXPECT_EQ(e.refusal.message, row.message);
    EXPECT_EQ(e.refusal.position, row.position) << row.message.toStdString();
    EXPECT_EQ(e.refusal.boxText, row.boxText) << row.message.toStdString();
  }
}

TEST(CodePage, MapsWindows1252AndReportsTheFirstCharacterItCannotHold) {
  const auto a = barcode::ToAnsi(u"A\u20ac\u00f1\u00b2\u0178"_s);
  ASSERT_TRUE(a.ok());
  EXPECT_EQ(a.bytes, QByteArray("A\x80\xf1\xb2\x9f"));
  EXPECT_EQ(barcode::FromAnsi(QByteArray("\x80\x93x\x94")), u"\u20ac\u201cx\u201d"_s);
  EXPECT_EQ(barcode::ToAnsi(u"ab\u4e00c\u0416"_s).firstUnmappable, 2);
  // A character outside the basic plane counts from its first half.
  EXPECT_EQ(barcode::ToAnsi(u"x\U0001F600"_s).firstUnmappable, 1);
}

}  // namespace
