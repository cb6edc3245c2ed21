// The pure encoders: text -> symbol or refusal, the modules judged by the
// published symbol tables (tests/support/published_tables.h), not by the
// program's own.
#include "barcode/code39.h"
#include "barcode/symbol.h"
#include "barcode/upc_ean.h"
#include "support/published_tables.h"

#include <gtest/gtest.h>

#include <cstring>

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
