// UPC-A as drawn into the window, judged by the published symbol structure,
// by pixel runs and by two independent decoders.
#include "support/decode.h"
#include "support/form_fixture.h"
#include "symbologies/retail/upca.h"

#include <random>

namespace {

using test_support::Decode;

// The published UPC-A left-hand (odd parity) patterns; the right-hand ones
// are their complements.
const char* const kLeft[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                               "0110001", "0101111", "0111011", "0110111", "0001011"};

std::string Right(int d) {
  std::string s = kLeft[d];
  for (char& c : s) c = c == '1' ? '0' : '1';
  return s;
}

// The check digit by the published rule: three times the digits in odd
// positions plus the others, up to the next multiple of ten.
int Check(const std::string& eleven) {
  int sum = 0;
  for (size_t i = 0; i < eleven.size(); ++i) sum += (eleven[i] - '0') * (i % 2 == 0 ? 3 : 1);
  return (10 - sum % 10) % 10;
}

// The 95 modules of the symbol of eleven digits and their check digit.
std::string PublishedModules(const std::string& eleven) {
  const std::string twelve = eleven + char('0' + Check(eleven));
  std::string m = "101";
  for (int i = 0; i < 6; ++i) m += kLeft[twelve[i] - '0'];
  m += "01010";
  for (int i = 6; i < 12; ++i) m += Right(twelve[i] - '0');
  return m + "101";
}

// Pixels of one row as modules, "1" dark.
std::string Modules(const QImage& img, int row, int x0, int n) {
  std::string s;
  for (int x = x0; x < x0 + n; ++x) s += qGray(img.pixel(x, row)) < 128 ? '1' : '0';
  return s;
}

bool Inked(const QImage& img, int fromRow, int toRow) {
  for (int y = fromRow; y < toRow; ++y)
    for (int x = 0; x < img.width(); ++x)
      if (qGray(img.pixel(x, y)) < 128) return true;
  return false;
}

// A blank area the size of Picture9 with text printed at the text position:
// what the text line (or the length message) must look like.
QImage PrintedAlone(const QString& text) {
  platform::PictureBox box(nullptr, 0, 0, 5055, 1095);
  box.SetCurrentX(450);
  box.SetCurrentY(650);
  box.Print(text);
  return box.Image();
}

// Bars fill pixel rows 13 to 39 (twips 200 up to 600); the text starts below.
constexpr int kBarTopRow = 13;
constexpr int kBarEndRow = 40;
constexpr int kFirstModuleX = 17;

class UpcATest : public test_support::FormTest {
 protected:
  void SetUp() override { form().Option8->setChecked(true); }
  QImage Generate(const QString& text) {
    form().Text1->setText(text);
    return form().FinishedPicture();
  }
};

TEST_F(UpcATest, DecodersReadManyCodesWithEveryCheckDigit) {
  std::mt19937 random(20261206);
  std::vector<std::string> codes = {"03600029145", "01234567890", "98765432109", "00000000000",
                                    "99999999999", "12345678901"};
  // Every check digit, every leading digit.
  for (int want = 0; want < 10; ++want) {
    std::string code(10, '0');
    code[0] = char('0' + want);
    for (size_t i = 1; i < 10; ++i) code[i] = char('0' + random() % 10);
    for (char last = '0'; last <= '9'; ++last)
      if (Check(code + last) == want) {
        codes.push_back(code + last);
        break;
      }
    ASSERT_EQ(codes.size(), static_cast<size_t>(7 + want));
  }
  for (size_t i = 0; i < codes.size(); ++i) {
    form().Check2->SetValue(static_cast<int>(i % 2));
    const QString code = QString::fromStdString(codes[i]);
    const QImage img = Generate(code);
    ASSERT_FALSE(img.isNull()) << codes[i];
    const QString expected = code + QString::number(Check(codes[i]));
    const auto d = Decode(img, QStringLiteral("upca"), expected);
    EXPECT_EQ(d.exitCode, 0) << codes[i] << "\n" << d.output.toStdString();
  }
}

TEST_F(UpcATest, DrawnModulesAreThePublishedSymbolOnePixelEachWithTwoTrailingSpaces) {
  for (const std::string code : {"03600029145", "01234567890", "56789012345", "33333333333", "88888888888"}) {
    const QImage img = Generate(QString::fromStdString(code));
    ASSERT_FALSE(img.isNull()) << code;
    const std::string expected = PublishedModules(code);
    const int right = img.width() - kFirstModuleX - 95;
    for (const int row : {kBarTopRow, 25, kBarEndRow - 1})
      EXPECT_EQ(Modules(img, row, 0, img.width()), std::string(kFirstModuleX, '0') + expected + std::string(right, '0'))
          << code << " row " << row;
    // Nothing above or below the bars when the text line is off.
    EXPECT_FALSE(Inked(img, 0, kBarTopRow));
    EXPECT_FALSE(Inked(img, kBarEndRow, img.height()));

    // On a black area the white space modules show too: 97 modules, the
    // last two the trailing spaces, nothing drawn outside them.
    platform::PictureBox box(nullptr, 0, 0, 5055, 1095);
    box.SetBackColor(platform::kBlack);
    ASSERT_TRUE(retail::DrawUpcA(QString::fromStdString(code), box, 0).drawn);
    for (const int row : {kBarTopRow, kBarEndRow - 1})
      EXPECT_EQ(Modules(box.Image(), row, 0, box.PixelWidth()),
                std::string(kFirstModuleX, '1') + expected + "00" + std::string(right - 2, '1'));
    EXPECT_EQ(Modules(box.Image(), kBarTopRow - 1, 0, box.PixelWidth()), std::string(box.PixelWidth(), '1'));
    EXPECT_EQ(Modules(box.Image(), kBarEndRow, 0, box.PixelWidth()), std::string(box.PixelWidth(), '1'));
  }
}

TEST_F(UpcATest, GlyphsAreThePublishedPatternsAndRunsAcrossGlyphsStayTwoPrimitives) {
  using retail::UpcPrimitive;
  const auto expand = [](const retail::UpcGlyph& g) {
    std::string s;
    for (const UpcPrimitive p : g) s += std::string(static_cast<size_t>(retail::ModuleCount(p)), retail::IsBar(p) ? '1' : '0');
    return s;
  };
  for (int d = 0; d < 10; ++d) {
    // The left glyph starts at the pattern's second module and ends with the
    // space that opens what follows.
    EXPECT_EQ(expand(retail::LeftDigit()[static_cast<size_t>(d)]), std::string(kLeft[d] + 1) + "0") << d;
    EXPECT_EQ(expand(retail::RightDigit()[static_cast<size_t>(d)]), Right(d)) << d;
  }
  EXPECT_EQ(expand(retail::GuardGlyph()), "1010");
  EXPECT_EQ(expand(retail::EndGuardGlyph()), "10100");

  // 0 then 1 on the left: the two-module space across the glyphs is two
  // Space1, not one Space2.
  const auto seq = retail::UpcAPrimitives({0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  const size_t firstOfDigit2 = retail::GuardGlyph().size() + retail::LeftDigit()[0].size();
  EXPECT_EQ(seq[firstOfDigit2 - 1], UpcPrimitive::Space1);
  EXPECT_EQ(seq[firstOfDigit2], UpcPrimitive::Space1);
  int modules = 0;
  for (const UpcPrimitive p : seq) modules += retail::ModuleCount(p);
  EXPECT_EQ(modules, 97);
}

TEST_F(UpcATest, TextLineShowsCodeAndCheckDigitUnderTheBars) {
  form().Check2->SetValue(1);
  for (const QString& typed : {QStringLiteral("03600029145"), QStringLiteral("  03600029145 ")}) {
    const QImage img = Generate(typed);
    ASSERT_FALSE(img.isNull()) << typed.toStdString();
    EXPECT_EQ(img.copy(0, kBarEndRow, img.width(), img.height() - kBarEndRow),
              PrintedAlone(QStringLiteral("036000291452")).copy(0, kBarEndRow, img.width(), img.height() - kBarEndRow));
  }
}

TEST_F(UpcATest, AnythingButElevenDigitsGivesNothingToPrintAndSaysWhy) {
  const QImage message = PrintedAlone(QStringLiteral("Code is not 11 Digits"));
  const QImage blank = PrintedAlone({});
  struct Case {
    QString typed;
    QString why;
    const QImage& picture9;
  };
  for (const int textLine : {0, 1}) {
    form().Check2->SetValue(textLine);
    for (const Case& c : {Case{QStringLiteral("12345"), QStringLiteral("got 5 characters"), message},
                          Case{QStringLiteral("036000291452"), QStringLiteral("got 12 characters"), message},
                          Case{QStringLiteral(" 0360002914 "), QStringLiteral("got 10 characters"), message},
                          Case{QStringLiteral("0360002914A"), QStringLiteral("\"A\" (character 11)"), blank},
                          Case{QStringLiteral("036 0029145"), QStringLiteral("\" \" (character 4)"), blank},
                          Case{QString::fromUtf8("\u0663" "3600029145"),
                               QString::fromUtf8("\"\u0663\" (character 1)"), blank}}) {
      Generate(QStringLiteral("03600029145"));
      ASSERT_TRUE(form().Picture2->HasPicture());
      EXPECT_TRUE(Generate(c.typed).isNull()) << c.typed.toStdString();
      EXPECT_FALSE(form().Picture2->HasPicture());
      EXPECT_EQ(form().Picture9->Image(), c.picture9) << c.typed.toStdString();
      EXPECT_TRUE(form().LastProblem().contains(c.why)) << form().LastProblem().toStdString();
      EXPECT_FALSE(form().LabelHint->isHidden());
    }
  }
  Generate(QStringLiteral("03600029145"));
  EXPECT_TRUE(form().LabelHint->isHidden());
  EXPECT_TRUE(dialogs.shown.empty());
}

}  // namespace
