// The pure encoders: text -> symbol, the modules judged by the published
// symbol tables (tests/support/published_tables.h), not by the program's own;
// and every refusal of a text, the encoders' and the layouts' (through
// layout::LayText).
#include "barcode/code_page.h"
#include "barcode/symbol.h"
#include "layout/lay.h"
#include "support/published_tables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using barcode::Symbology;
using namespace Qt::StringLiterals;

// A text the symbology takes: what the bars carry and the text line shows
// ("": as typed), and for Code 128 the data values and the check value.
struct SymbolRow {
  Symbology symbology;
  QString typed, data, shown;
  std::vector<int> code128 = {};
};

std::vector<SymbolRow> SymbolRows() {
  QString printable;
  std::vector<int> all;
  for (int c = 32; c < 127; ++c) printable += QChar(c), all.push_back(c - 32);
  all.push_back(39);
  std::vector<int> spaces(347, 0);
  spaces.insert(spaces.end(), {94, 62});
  std::vector<SymbolRow> rows = {
      {Symbology::Code39, u"0123456789"_s, {}, {}},
      {Symbology::Code39, u"ABCDEFGHIJKLMNOPQRSTUVWXYZ"_s, {}, {}},
      {Symbology::Code39, u"-. $/+%"_s, {}, {}},
      // Only a-z are upper-cased.
      {Symbology::Code39, u"hello world"_s, u"HELLO WORLD"_s, u"HELLO WORLD"_s},
      {Symbology::Code128B, u"A"_s, {}, {}, {33, 34}},
      {Symbology::Code128B, u"\u00b9A"_s, {}, {}, {102, 33, 66}},                         // FNC 1
      {Symbology::Code128B, u"\x7f\u00b3\u00b2\u00bc"_s, {}, {}, {95, 96, 97, 100, 52}},  // DEL, FNC 3, 2, 4
      {Symbology::Code128B, u" ~"_s, {}, {}, {0, 94, 86}},
      {Symbology::Code128Pattern, u"Hi!"_s, {}, {}, {40, 73, 1, 87}},
      {Symbology::Code128Pattern, printable, {}, {}, all},
      // "~" (94) at position 348 weighs 32712, within 16 bits.
      {Symbology::Code128Pattern, QString(347, u' ') + u'~', {}, {}, spaces},
      // An odd count takes a leading 0, which keeps the number.
      {Symbology::Interleaved2of5, u"123"_s, u"0123"_s, u"0123"_s},
      {Symbology::Interleaved2of5, u"0918273645"_s, {}, {}},
      {Symbology::Interleaved2of5, u"12345678901234567890"_s, {}, {}},
      {Symbology::Interleaved2of5, u"5678901234567890123"_s, u"05678901234567890123"_s, u"05678901234567890123"_s},
      // UPC-A: blanks trimmed, the check digit shown.
      {Symbology::UpcA, u"03600029145"_s, {}, u"036000291452"_s},
      {Symbology::UpcA, u" 03600029145 "_s, u"03600029145"_s, u"036000291452"_s},
      {Symbology::UpcA, u"99999999999"_s, {}, u"999999999993"_s},
      // Check digits printed on real packs.
      {Symbology::Ean, u"590123412345"_s, {}, u"5901234123457"_s},
      {Symbology::Ean, u"9638507"_s, {}, u"96385074"_s},
  };
  // Every EAN-13 first digit's parity, and two EAN-8s.
  std::vector<std::string> codes = {"0123456", "5555555"};
  for (char first = '0'; first <= '9'; ++first) codes.push_back(first + std::string("01234567895"));
  for (const std::string& code : codes) {
    const QString typed = QString::fromStdString(code);
    rows.push_back({Symbology::Ean, typed, {}, typed + QLatin1Char(published::CheckDigit(code))});
  }
  return rows;
}

TEST(Encoders, SymbolsAreThePublishedTablesModulesAndValues) {
  for (SymbolRow row : SymbolRows()) {
    SCOPED_TRACE(row.typed.left(40).toStdString());
    if (row.data.isEmpty()) row.data = row.typed;
    if (row.shown.isEmpty()) row.shown = row.data;
    const barcode::Encoded e = barcode::Encode(row.symbology, row.typed);
    ASSERT_TRUE(e.symbol) << e.refusal.message.toStdString();
    const barcode::Symbol& s = *e.symbol;
    EXPECT_EQ(s.data, row.data);
    EXPECT_EQ(s.humanReadable, row.shown);
    EXPECT_EQ(s.note, row.data == row.typed ? QString() : u"encoded as "_s + row.data);
    const std::string data = row.data.toStdString();
    std::vector<int> values;
    std::string modules;
    switch (row.symbology) {
      case Symbology::Code39:  // the characters' places in the published table, "*" last
        modules = published::Code39Symbol(data);
        for (const char c : '*' + data + '*')
          values.push_back(static_cast<int>(std::strchr(published::kCode39Chars, c) - published::kCode39Chars));
        break;
      case Symbology::Code128B:
      case Symbology::Code128Pattern:
        modules = published::Code128Symbol({row.code128.begin(), row.code128.end() - 1});
        values = row.code128;
        values.insert(values.begin(), 104);
        values.push_back(106);
        break;
      default:  // the digits: Code 2/5's data, UPC-A's and EAN's with the check digit
        modules = row.symbology == Symbology::Interleaved2of5 ? published::I25Symbol(data)
                  : row.symbology == Symbology::UpcA         ? published::EanSymbol('0' + data)
                                                             : published::EanSymbol(data);
        for (const QChar c : row.shown) values.push_back(c.digitValue());
    }
    EXPECT_EQ(s.modules, modules);
    EXPECT_EQ(s.values, values);
    // UPC-A and EAN mark their start, centre and end guards.
    std::string guards;
    if (row.symbology == Symbology::UpcA || row.symbology == Symbology::Ean) {
      guards.assign(modules.size(), '0');
      guards.replace(0, 3, "111").replace((modules.size() - 5) / 2, 5, "11111").replace(modules.size() - 3, 3, "111");
    }
    EXPECT_EQ(s.guards, guards);
  }
}

// The messages of the refusals.
const QString kBox128 = u"There was an Unknow Error please send an email to support@quillon.example "_s;
const QString kBox25 = u"9\r\nSubscript out of range"_s;
const QString kCannot39 = u"Code 39 cannot encode \"%1\" (character %2). It takes A-Z, 0-9, space and - . $ / + %."_s;
const QString kCannotB = u"Code 128 B cannot encode \"%1\" (character %2). It takes the characters from space to ~, "
                         "DEL, and \u00b9 \u00b2 \u00b3 \u00bc as function characters."_s;
const QString kCannot1 = u"Code 128-1 cannot encode \"%1\" (character %2). It takes the characters from space to ~."_s;
const QString kNotDigit = u"%1 takes digits only: \"%2\" (character %3) is not a digit."_s;
const QString kHeavy = u"The text is too long for a Code 128 barcode (%1 characters): a character's value times its "
                        "position may be at most 32767, and character %2 passes that."_s;
const QString kUpc = u"UPC-A needs 11 digits (the check digit is added); got %1 characters."_s;
const QString kEan = u"EAN needs 7 digits (EAN-8) or 12 digits (EAN-13) without the check digit; got %1 characters."_s;

// A text refused by its encoder or, with these options, by its layout.
struct RefusalRow {
  Symbology symbology;
  QString text, message;
  qsizetype position;
  QString boxText = {};
  layout::Options options = {};
};

std::vector<RefusalRow> RefusalRows() {
  layout::Options noSize;
  noSize.captionFontSize = 0;
  const QString spaces = QString(348, u' ') + u'~';
  return {
      // Code 39 names the character as typed: general upper-casing would
      // make "SS" and "I" of the German sharp s and the dotless i.
      {Symbology::Code39, u"A#B"_s, kCannot39.arg(u"#"_s).arg(2), 1},
      {Symbology::Code39, u"ab*c"_s, u"Code 39 cannot encode \"*\" (character 3): \"*\" is its start/stop character."_s,
       2},
      {Symbology::Code39, u"stra\u00dfe"_s, kCannot39.arg(u"\u00df"_s).arg(5), 4},
      {Symbology::Code39, u"\u0131"_s, kCannot39.arg(u"\u0131"_s).arg(1), 0},
      // A surrogate pair is quoted whole, counted as two.
      {Symbology::Code39, u"A\U0001F600B"_s, kCannot39.arg(u"\U0001F600"_s).arg(2), 1},
      {Symbology::Code128B, u"ab\u00e9"_s, kCannotB.arg(u"\u00e9"_s).arg(3), 2, kBox128},
      {Symbology::Code128B, u"a\U0001F600"_s, kCannotB.arg(u"\U0001F600"_s).arg(2), 1, kBox128},
      {Symbology::Code128B, u"\x10"_s, kCannotB.arg(u"\x10"_s).arg(1), 0, kBox128},
      // The weight is judged before the characters for Code 128 B, after them for Code 128-1.
      {Symbology::Code128B, spaces, kHeavy.arg(349).arg(349), 348},
      {Symbology::Code128B, spaces + u'\t', kHeavy.arg(350).arg(349), 348},
      {Symbology::Code128Pattern, spaces + u'\t', kCannot1.arg(u"\t"_s).arg(350), 349},
      {Symbology::Code128Pattern, u"\u00b9"_s, kCannot1.arg(u"\u00b9"_s).arg(1), 0},
      // Code 2/5 counts what was typed; under two characters there is no box.
      {Symbology::Interleaved2of5, u"7"_s, u"Code 2/5 needs at least two digits (the text has 1)."_s, -1},
      {Symbology::Interleaved2of5, u"a"_s, kNotDigit.arg(u"Code 2/5"_s, u"a"_s).arg(1), 0},
      {Symbology::Interleaved2of5, u"1x"_s, kNotDigit.arg(u"Code 2/5"_s, u"x"_s).arg(2), 1, kBox25},
      {Symbology::Interleaved2of5, u"\u0661\u0662"_s, kNotDigit.arg(u"Code 2/5"_s, u"\u0661"_s).arg(1), 0, kBox25},
      {Symbology::Interleaved2of5, QString(21, u'1'), u"Code 2/5 takes at most 20 digits (the text has 21)."_s, -1,
       kBox25},
      // UPC-A trims spaces only; a typed check digit is not taken; a bad
      // digit is counted in the trimmed code, placed in the text as typed.
      {Symbology::UpcA, u"036000291452"_s, kUpc.arg(12), -1},
      {Symbology::UpcA, u" 0360002914 "_s, kUpc.arg(10), -1},
      {Symbology::UpcA, u"\t03600029145"_s, kUpc.arg(12), -1},
      {Symbology::UpcA, u"0360002914a"_s, kNotDigit.arg(u"UPC-A"_s, u"a"_s).arg(11), 10},
      {Symbology::UpcA, u"  036 0029145"_s, kNotDigit.arg(u"UPC-A"_s, u" "_s).arg(4), 5},
      // EAN trims nothing.
      {Symbology::Ean, u"5901234123457"_s, kEan.arg(13), -1},
      {Symbology::Ean, u"9638507 "_s, kEan.arg(8), -1},
      {Symbology::Ean, u"96385a7"_s, kNotDigit.arg(u"EAN"_s, u"a"_s).arg(6), 5},
      {Symbology::Ean, u" 963850"_s, kNotDigit.arg(u"EAN"_s, u" "_s).arg(1), 0},
      {Symbology::Code128B, u"fine"_s, u"Code 128 B needs a font size above 0."_s, -1, kBox128, noSize},
      {Symbology::Code128B, QString(3000, u' '),
       u"The text is too long for a Code 128 B barcode (3000 characters): the picture would be 33038 pixels wide, and "
       "a picture takes at most 32767."_s, -1},
      {Symbology::Code128Pattern, QString(3000, u' '),
       u"The text is too long for a Code 128 barcode (3000 characters)."_s, -1},
      // 13 units a character, start and stop, a unit each side: 2520 x 13 + 2 = 32762 pixels for 2518 characters.
      {Symbology::Code39, QString(2519, u'A'),
       u"The text is too long for a Code 39 barcode (2519 characters): at this bar height and font size it takes at "
       "most 2518."_s, -1},
  };
}

// What the encoders refuse, and what the layouts refuse that the encoders
// take: a caption size of 0 and pictures past 32767 pixels.
TEST(Encoders, RefusalsSayWhatAndWhereAndWhichShowAMessageBox) {
  std::vector<RefusalRow> rows = RefusalRows();
  // Every symbology: nothing typed says nothing; past the longest text, its length.
  for (const Symbology s : barcode::kSymbologies) {
    rows.push_back({s, {}, {}, -1});
    rows.push_back({s, QString(barcode::kLongestText + 1, u'7'),
                    u"The text has 32768 characters; a barcode text takes at most 32767."_s, -1});
  }
  for (const RefusalRow& row : rows) {
    SCOPED_TRACE(row.text.left(40).toStdString());
    const layout::Laid e = layout::LayText(row.symbology, row.text, row.options);
    ASSERT_FALSE(e.drawing);
    EXPECT_EQ(e.refusal.message, row.message);
    EXPECT_EQ(e.refusal.position, row.position);
    EXPECT_EQ(e.refusal.boxText, row.boxText);
  }
  // The longest text is the encoder's to judge.
  EXPECT_TRUE(barcode::Encode(Symbology::Code39, QString(barcode::kLongestText, u'7')).symbol);
  EXPECT_EQ(layout::LayText(Symbology::Code39, QString(2518, u'A'), {}).drawing->size.width(), 32762);
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
