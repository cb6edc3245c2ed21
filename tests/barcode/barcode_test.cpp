// The pure encoders: text -> symbol or refusal, the modules judged by the
// published symbol tables (tests/support/published_tables.h), not by the
// program's own.
#include "barcode/code39.h"
#include "barcode/code_page.h"
#include "barcode/symbol.h"
#include "barcode/upc_ean.h"
#include "support/published_tables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using barcode::Encode;
using barcode::Symbology;

// The modules of *text* from the published Code 39 table: nine elements a
// character, bar first, wide = two modules, a narrow gap between characters.
std::string PublishedCode39(const std::string& text) {
  std::string modules;
  const std::string symbol = '*' + text + '*';
  for (size_t i = 0; i < symbol.size(); ++i) {
    if (i > 0) modules += '0';
    const char* elements = published::Code39(symbol[i]);
    for (size_t e = 0; e < 9; ++e) modules.append(elements[e] == '1' ? 2 : 1, e % 2 == 0 ? '1' : '0');
  }
  return modules;
}

// UPC-A is EAN-13 with a leading 0. digits: 12 (EAN-13) or 7 (EAN-8), the
// check digit is added here.
std::string PublishedEan(const std::string& digits) {
  const std::string all = digits + published::CheckDigit(digits);
  const bool ean8 = all.size() == 8;
  const size_t first = ean8 ? 0 : 1, half = ean8 ? 4 : 7;
  std::string modules = "101";
  for (size_t i = first; i < all.size(); ++i) {
    if (i == half) modules += "01010";
    const char set = i >= half ? 'C' : ean8 ? 'A' : published::kEanParity[all[0] - '0'][i - 1];
    modules += published::EanDigit(all[i] - '0', set);
  }
  return modules + "101";
}

// A refusal: the text, the exact message (or a part of it) and the position.
struct RefusalRow {
  Symbology symbology;
  QString text;
  QString message;  // the whole message (ending in a full stop) or a part of it
  qsizetype position;
};

void ExpectRefusals(const std::vector<RefusalRow>& rows) {
  for (const RefusalRow& row : rows) {
    const barcode::Encoded e = Encode(row.symbology, row.text);
    ASSERT_FALSE(e.symbol) << row.text.toStdString();
    if (row.message.endsWith(QLatin1Char('.')))
      EXPECT_EQ(e.refusal.message, row.message) << row.text.toStdString();
    else
      EXPECT_TRUE(e.refusal.message.contains(row.message))
          << row.text.toStdString() << ": " << e.refusal.message.toStdString();
    EXPECT_EQ(e.refusal.position, row.position) << row.text.toStdString();
    EXPECT_TRUE(e.refusal.boxText.isEmpty()) << row.text.toStdString();
  }
}

TEST(Code39, EveryCharacterIsThePublishedPatternAndOnlyAToZAreUpperCased) {
  const struct {
    const char* typed;
    const char* encoded;
  } rows[] = {{"0123456789", "0123456789"},
              {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
              {"-. $/+%", "-. $/+%"},
              {"hello world", "HELLO WORLD"},
              {"a", "A"},
              {"  ", "  "}};
  for (const auto& row : rows) {
    const barcode::Encoded e = Encode(Symbology::Code39, QString::fromLatin1(row.typed));
    ASSERT_TRUE(e.symbol) << row.typed << ": " << e.refusal.message.toStdString();
    EXPECT_EQ(e.symbol->modules, PublishedCode39(row.encoded)) << row.typed;
    EXPECT_EQ(e.symbol->data, QLatin1String(row.encoded));
    EXPECT_EQ(e.symbol->humanReadable, QLatin1String(row.encoded));
    EXPECT_EQ(e.symbol->note.isEmpty(), std::strcmp(row.typed, row.encoded) == 0) << e.symbol->note.toStdString();
    // The values are the characters' places in the published table, "*" last.
    std::vector<int> values{43};
    for (const char* c = row.encoded; *c; ++c)
      values.push_back(static_cast<int>(std::strchr(published::kCode39Chars, *c) - published::kCode39Chars));
    values.push_back(43);
    EXPECT_EQ(e.symbol->values, values) << row.typed;
  }
}

TEST(Code39, RefusesWhatItCannotCarryNamingTheCharacterAsTyped) {
  ExpectRefusals({
      {Symbology::Code39, "A#B", "Code 39 cannot encode \"#\" (character 2). It takes A-Z, 0-9, space and - . $ / + %.",
       1},
      {Symbology::Code39, "ab*c", "Code 39 cannot encode \"*\" (character 3): \"*\" is its start/stop character.", 2},
      // General upper-casing would make "SS" and "I" of these.
      {Symbology::Code39, QStringLiteral("stra\u00dfe"), QStringLiteral("\"\u00df\" (character 5)"), 4},
      {Symbology::Code39, QStringLiteral("\u0131"), QStringLiteral("\"\u0131\" (character 1)"), 0},
      {Symbology::Code39, QStringLiteral("caf\u00e9"), QStringLiteral("\"\u00e9\" (character 4)"), 3},
      // A surrogate pair is quoted whole, counted as two.
      {Symbology::Code39, QStringLiteral("A\U0001F600B"), QStringLiteral("\"\U0001F600\" (character 2)"), 1},
      {Symbology::Code39, "A\tB", "\"\t\" (character 2)", 1},
      {Symbology::Code39, "[", "\"[\" (character 1)", 0},
  });
}

TEST(UpcA, ElevenDigitsAreEan13WithALeadingZeroAndTheirCheckDigit) {
  const struct {
    const char* typed;
    const char* code;
    const char* shown;
  } rows[] = {{"03600029145", "03600029145", "036000291452"},
              {" 03600029145 ", "03600029145", "036000291452"},
              {"01234567890", "01234567890", "012345678905"},
              {"99999999999", "99999999999", "999999999993"},
              {"00000000000", "00000000000", "000000000000"}};
  for (const auto& row : rows) {
    const barcode::Encoded e = Encode(Symbology::UpcA, QString::fromLatin1(row.typed));
    ASSERT_TRUE(e.symbol) << row.typed << ": " << e.refusal.message.toStdString();
    EXPECT_EQ(e.symbol->modules, PublishedEan(std::string("0") + row.code)) << row.typed;
    EXPECT_EQ(e.symbol->guards, "111" + std::string(42, '0') + "11111" + std::string(42, '0') + "111");
    EXPECT_EQ(e.symbol->data, QLatin1String(row.code));
    EXPECT_EQ(e.symbol->note.isEmpty(), std::strcmp(row.typed, row.code) == 0);  // blanks trimmed
    EXPECT_EQ(e.symbol->humanReadable, QLatin1String(row.shown));
    ASSERT_EQ(e.symbol->values.size(), 12u);
    EXPECT_EQ(e.symbol->values.back(), row.shown[11] - '0') << row.typed;
  }
}

TEST(UpcA, RefusesAnythingButElevenDigitsAfterTrimmingBlanks) {
  const QString length = QStringLiteral("UPC-A needs 11 digits (the check digit is added); got %1 characters.");
  ExpectRefusals({
      {Symbology::UpcA, "036000291452", length.arg(12), -1},  // a typed check digit is not taken
      {Symbology::UpcA, " 0360002914 ", length.arg(10), -1},
      {Symbology::UpcA, "\t03600029145", length.arg(12), -1},  // only spaces are trimmed
      {Symbology::UpcA, "0360002914a", "UPC-A takes digits only: \"a\" (character 11) is not a digit.", 10},
      // Counted in the trimmed code, placed in the text as typed.
      {Symbology::UpcA, "  036 0029145", "\" \" (character 4)", 5},
  });
}

TEST(Ean, TwelveDigitsAreEan13SevenAreEan8WithEveryFirstDigitsParity) {
  std::vector<std::string> codes = {"590123412345", "9638507", "400638133393", "0123456", "5555555"};
  for (char first = '0'; first <= '9'; ++first) codes.push_back(first + std::string("01234567895"));
  for (const std::string& code : codes) {
    const barcode::Encoded e = Encode(Symbology::Ean, QString::fromStdString(code));
    ASSERT_TRUE(e.symbol) << code << ": " << e.refusal.message.toStdString();
    const std::string modules = PublishedEan(code);
    EXPECT_EQ(e.symbol->modules, modules) << code;
    const size_t centre = (modules.size() - 5) / 2;
    std::string guards(modules.size(), '0');
    guards.replace(0, 3, "111").replace(centre, 5, "11111").replace(modules.size() - 3, 3, "111");
    EXPECT_EQ(e.symbol->guards, guards) << code;
    const std::string shown = code + published::CheckDigit(code);
    EXPECT_EQ(e.symbol->humanReadable.toStdString(), shown);
    EXPECT_EQ(e.symbol->data.toStdString(), code);
    EXPECT_EQ(e.symbol->values.size(), shown.size());
  }
  // Check digits printed on real packs: 5901234123457, 96385074, 4006381333931.
  EXPECT_EQ(Encode(Symbology::Ean, "590123412345").symbol->values.back(), 7);
  EXPECT_EQ(Encode(Symbology::Ean, "9638507").symbol->values.back(), 4);
  EXPECT_EQ(Encode(Symbology::Ean, "400638133393").symbol->values.back(), 1);
}

TEST(Ean, RefusesOtherLengthsAndNonDigitsAsTypedWithoutTrimming) {
  const QString length =
      QStringLiteral("EAN needs 7 digits (EAN-8) or 12 digits (EAN-13) without the check digit; got %1 characters.");
  ExpectRefusals({
      {Symbology::Ean, "5901234123457", length.arg(13), -1},  // typed with its check digit
      {Symbology::Ean, "9638507 ", length.arg(8), -1},
      {Symbology::Ean, "123", length.arg(3), -1},
      {Symbology::Ean, "96385a7", "EAN takes digits only: \"a\" (character 6) is not a digit.", 5},
      {Symbology::Ean, " 963850", "\" \" (character 1)", 0},
  });
}

TEST(Code39, EmptyAndOverlongTextsAreRefusedBeforeAnyEncoder) {
  for (const Symbology s : {Symbology::Code39, Symbology::UpcA, Symbology::Ean}) {
    const barcode::Encoded empty = Encode(s, {});
    EXPECT_FALSE(empty.symbol);
    EXPECT_TRUE(empty.refusal.message.isEmpty());
    ExpectRefusals({{s, QString(barcode::kLongestText + 1, QLatin1Char('7')),
                     "The text has 32768 characters; a barcode text takes at most 32767.", -1}});
  }
  // The longest text is the encoder's to judge.
  EXPECT_TRUE(Encode(Symbology::Code39, QString(barcode::kLongestText, QLatin1Char('7'))).symbol);
}

TEST(UpcA, OneCheckDigitRoutineServesEveryLength) {
  std::vector<std::string> rows = {"590123412345", "9638507", "1", "", "98765432109876"};
  // The last digit weighs 3: ten codes that give every check digit once.
  for (char last = '0'; last <= '9'; ++last) rows.push_back(std::string("0360002914") + last);
  for (const std::string& digits : rows) {
    std::vector<int> values;
    for (const char c : digits) values.push_back(c - '0');
    EXPECT_EQ(barcode::CheckDigit(values), published::CheckDigit(digits) - '0') << digits;
  }
}

}  // namespace

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
    EXPECT_TRUE(e.symbol->data == row.text && e.symbol->humanReadable == row.text && e.symbol->note.isEmpty());
  }
}

// An odd count takes a leading 0, which keeps the number, and a note says so.
TEST(Interleaved2of5, SymbolsInterleaveDigitPairsAndCompleteAnOddCountWithALeadingZero) {
  const std::pair<QString, std::string> rows[] = {
      {u"1234"_s, "1234"}, {u"90"_s, "90"}, {u"123"_s, "0123"}, {u"0918273645"_s, "0918273645"},
      {u"12345678901234567890"_s, "12345678901234567890"}, {u"5678901234567890123"_s, "05678901234567890123"}};
  for (const auto& [text, digits] : rows) {
    const barcode::Encoded e = barcode::Encode(Symbology::Interleaved2of5, text);
    ASSERT_TRUE(e.symbol) << text.toStdString();
    EXPECT_EQ(e.symbol->modules, I25Modules(digits)) << digits;
    EXPECT_TRUE(e.symbol->data == QString::fromStdString(digits) && e.symbol->humanReadable == e.symbol->data);
    EXPECT_EQ(e.symbol->note, text.size() % 2 ? QString::fromStdString("encoded as " + digits) : QString());
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
