// The pure encoders: text -> symbol, the modules judged by the published
// symbol tables (tests/support/published_tables.h), not by the program's own.
// Their refusals are in the layouts' table (tests/layout).
#include "barcode/code_page.h"
#include "barcode/symbol.h"
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
      {Symbology::Code39, u"  "_s, {}, {}},
      // Only a-z are upper-cased.
      {Symbology::Code39, u"hello world"_s, u"HELLO WORLD"_s, u"HELLO WORLD"_s},
      {Symbology::Code39, u"a"_s, u"A"_s, u"A"_s},
      {Symbology::Code128B, u"A"_s, {}, {}, {33, 34}},
      {Symbology::Code128B, u"\u00b9A"_s, {}, {}, {102, 33, 66}},                         // FNC 1
      {Symbology::Code128B, u"\x7f\u00b3\u00b2\u00bc"_s, {}, {}, {95, 96, 97, 100, 52}},  // DEL, FNC 3, 2, 4
      {Symbology::Code128B, u" ~"_s, {}, {}, {0, 94, 86}},
      {Symbology::Code128Pattern, u"l"_s, {}, {}, {76, 77}},
      {Symbology::Code128Pattern, u"I"_s, {}, {}, {41, 42}},
      {Symbology::Code128Pattern, u"Hi!"_s, {}, {}, {40, 73, 1, 87}},
      {Symbology::Code128Pattern, printable, {}, {}, all},
      // "~" (94) at position 348 weighs 32712, within 16 bits.
      {Symbology::Code128Pattern, QString(347, u' ') + u'~', {}, {}, spaces},
      // An odd count takes a leading 0, which keeps the number.
      {Symbology::Interleaved2of5, u"1234"_s, {}, {}},
      {Symbology::Interleaved2of5, u"90"_s, {}, {}},
      {Symbology::Interleaved2of5, u"123"_s, u"0123"_s, u"0123"_s},
      {Symbology::Interleaved2of5, u"0918273645"_s, {}, {}},
      {Symbology::Interleaved2of5, u"12345678901234567890"_s, {}, {}},
      {Symbology::Interleaved2of5, u"5678901234567890123"_s, u"05678901234567890123"_s, u"05678901234567890123"_s},
      // UPC-A: blanks trimmed, the check digit shown.
      {Symbology::UpcA, u"03600029145"_s, {}, u"036000291452"_s},
      {Symbology::UpcA, u" 03600029145 "_s, u"03600029145"_s, u"036000291452"_s},
      {Symbology::UpcA, u"01234567890"_s, {}, u"012345678905"_s},
      {Symbology::UpcA, u"99999999999"_s, {}, u"999999999993"_s},
      {Symbology::UpcA, u"00000000000"_s, {}, u"000000000000"_s},
      // Check digits printed on real packs.
      {Symbology::Ean, u"590123412345"_s, {}, u"5901234123457"_s},
      {Symbology::Ean, u"9638507"_s, {}, u"96385074"_s},
      {Symbology::Ean, u"400638133393"_s, {}, u"4006381333931"_s},
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
