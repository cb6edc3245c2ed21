// EAN-13 and EAN-8 as drawn into the window, judged by the published number
// sets and parity table, by pixel runs and by two independent decoders.
#include "support/decode.h"
#include "support/form_fixture.h"
#include "symbologies/retail/ean.h"

#include <algorithm>
#include <random>

namespace {

using test_support::Decode;

// Published set A; set C is its complement and set B set C reversed.
const char* const kSetA[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                               "0110001", "0101111", "0111011", "0110111", "0001011"};
const char* const kParity[10] = {"OOOOOO", "OOEOEE", "OOEEOE", "OOEEEO", "OEOOEE",
                                 "OEEOOE", "OEEEOO", "OEOEOE", "OEOEEO", "OEEOEO"};

std::string SetC(int d) {
  std::string s = kSetA[d];
  for (char& c : s) c = c == '1' ? '0' : '1';
  return s;
}
std::string SetB(int d) {
  std::string s = SetC(d);
  std::reverse(s.begin(), s.end());
  return s;
}

// The published check digit: weights 3, 1, 3, ... from the rightmost digit.
int Check(const std::string& digits) {
  int sum = 0;
  for (size_t i = 0; i < digits.size(); ++i) sum += (digits[digits.size() - 1 - i] - '0') * (i % 2 == 0 ? 3 : 1);
  return (10 - sum % 10) % 10;
}

std::string PublishedEan13(const std::string& twelve) {
  const std::string all = twelve + char('0' + Check(twelve));
  const char* parity = kParity[all[0] - '0'];
  std::string m = "101";
  for (int i = 1; i <= 6; ++i) m += parity[i - 1] == 'E' ? SetB(all[i] - '0') : std::string(kSetA[all[i] - '0']);
  m += "01010";
  for (int i = 7; i <= 12; ++i) m += SetC(all[i] - '0');
  return m + "101";
}

std::string PublishedEan8(const std::string& seven) {
  const std::string all = seven + char('0' + Check(seven));
  std::string m = "101";
  for (int i = 0; i < 4; ++i) m += kSetA[all[i] - '0'];
  m += "01010";
  for (int i = 4; i < 8; ++i) m += SetC(all[i] - '0');
  return m + "101";
}

std::string Modules(const QImage& img, int row, int x0, int n) {
  std::string s;
  for (int x = x0; x < x0 + n; ++x) s += qGray(img.pixel(x, row)) < 128 ? '1' : '0';
  return s;
}

// Rows of one column that are dark, as [first, last + 1).
std::pair<int, int> DarkRows(const QImage& img, int x) {
  int first = -1;
  int end = -1;
  for (int y = 0; y < img.height(); ++y)
    if (qGray(img.pixel(x, y)) < 128) {
      if (first < 0) first = y;
      end = y + 1;
    }
  return {first, end};
}

// Random digits whose first digit and check digit are given.
std::string CodeWith(std::mt19937& random, size_t length, int first, int check) {
  std::string code(length - 1, '0');
  code[0] = char('0' + first);
  for (size_t i = 1; i < code.size(); ++i) code[i] = char('0' + random() % 10);
  for (char last = '0'; last <= '9'; ++last)
    if (Check(code + last) == check) return code + last;
  return {};
}

constexpr int kFirstModuleX = 16;  // pen x starts at 5, each module one further, drawn at + 10
constexpr int kBarTop = 10;
constexpr int kDataEnd = 58;   // 10 + 48
constexpr int kGuardEnd = 63;  // 5 pixels longer

class EanTest : public test_support::FormTest {
 protected:
  void SetUp() override { form().Option9->setChecked(true); }
  QImage Generate(const QString& text) {
    form().Text1->setText(text);
    return form().FinishedPicture();
  }
};

TEST_F(EanTest, DecodersReadEveryFirstDigitAndEveryCheckDigit) {
  std::mt19937 random(1206);
  std::vector<std::pair<std::string, std::string>> cases = {{"590123412345", "5901234123457"},
                                                            {"9638507", "96385074"}};
  for (int i = 0; i < 10; ++i) {
    const std::string ean13 = CodeWith(random, 12, i, (i * 7 + 3) % 10);
    const std::string ean8 = CodeWith(random, 7, (i * 3) % 10, i);
    cases.push_back({ean13, ean13 + char('0' + Check(ean13))});
    cases.push_back({ean8, ean8 + char('0' + Check(ean8))});
  }
  for (const auto& [code, expected] : cases) {
    const QImage img = Generate(QString::fromStdString(code));
    ASSERT_FALSE(img.isNull()) << code;
    const auto d = Decode(img, code.size() == 12 ? QStringLiteral("ean13") : QStringLiteral("ean8"),
                          QString::fromStdString(expected));
    EXPECT_EQ(d.exitCode, 0) << code << "\n" << d.output.toStdString();
  }
}

TEST_F(EanTest, DrawnModulesFollowTheNumberSetsAndTheParityTable) {
  for (int first = 0; first < 10; ++first) {
    const std::string code = std::to_string(first) + "01234567895";
    const QImage img = Generate(QString::fromStdString(code));
    ASSERT_FALSE(img.isNull()) << code;
    EXPECT_EQ(Modules(img, 30, 0, kFirstModuleX), std::string(kFirstModuleX, '0'));
    EXPECT_EQ(Modules(img, 30, kFirstModuleX, 95), PublishedEan13(code)) << code;
    EXPECT_EQ(Modules(img, 30, kFirstModuleX + 95, 20), std::string(20, '0'));
  }
  for (const std::string code : {"9638507", "0123456", "7890123", "5555555"}) {
    const QImage img = Generate(QString::fromStdString(code));
    ASSERT_FALSE(img.isNull()) << code;
    EXPECT_EQ(Modules(img, 30, kFirstModuleX, 67), PublishedEan8(code)) << code;
    EXPECT_EQ(Modules(img, 30, kFirstModuleX + 67, 20), std::string(20, '0'));
  }
}

TEST_F(EanTest, GuardBarsReachFivePixelsLowerThanDataBars) {
  const QImage img = Generate(QStringLiteral("590123412345"));
  ASSERT_FALSE(img.isNull());
  const std::string modules = PublishedEan13("590123412345");
  for (int m = 0; m < 95; ++m) {
    if (modules[static_cast<size_t>(m)] != '1') continue;
    const bool guard = m < 3 || (m >= 45 && m < 50) || m >= 92;
    // Below the bars the digits start at row 58; judge the bar by its top
    // and by the rows the digits leave free.
    const auto [first, end] = DarkRows(img, kFirstModuleX + m);
    EXPECT_EQ(first, kBarTop) << m;
    EXPECT_EQ(qGray(img.pixel(kFirstModuleX + m, kDataEnd - 1)), 0) << m;
    if (guard) {
      EXPECT_GE(end, kGuardEnd) << m;
      EXPECT_EQ(qGray(img.pixel(kFirstModuleX + m, kGuardEnd - 1)), 0) << m;
    }
  }
  // Without the digits the rows under the data bars are white and the guard
  // bars end 5 pixels lower, inside the picture.
  platform::PictureBox box(nullptr, 0, 0, 5775, 975);
  ASSERT_TRUE(retail::DrawEan13(box, 12, QStringLiteral("590123412345"), false).drawn);
  ASSERT_GE(box.PixelHeight(), kGuardEnd);
  for (int m = 0; m < 95; ++m) {
    if (modules[static_cast<size_t>(m)] != '1') continue;
    const bool guard = m < 3 || (m >= 45 && m < 50) || m >= 92;
    EXPECT_EQ(DarkRows(box.Image(), kFirstModuleX + m), std::make_pair(kBarTop, guard ? kGuardEnd : kDataEnd)) << m;
  }
  const auto d = Decode(box.Image(), QStringLiteral("ean13"), QStringLiteral("5901234123457"));
  EXPECT_EQ(d.exitCode, 0) << d.output.toStdString();
}

TEST_F(EanTest, DigitsArePrintedInTwoGroupsAndPicture10ShowsTheResult) {
  const auto printed = [](int width, int height, std::vector<std::pair<int, QString>> groups) {
    platform::PictureBox box(nullptr, 0, 0, width * 15.0, height * 15.0);
    box.SetScaleMode(platform::ScaleMode::Pixels);
    for (const auto& [x, text] : groups) {
      box.SetCurrentX(x);
      box.SetCurrentY(kDataEnd);
      box.Print(text);
    }
    return box.Image();
  };
  struct Case {
    QString code;
    int width;
    std::vector<std::pair<int, QString>> groups;
  };
  for (const Case& c : {Case{QStringLiteral("590123412345"), 428,
                             {{23, QStringLiteral("901234")}, {68, QStringLiteral("123457")}}},
                        Case{QStringLiteral("9638507"), 401,
                             {{23, QStringLiteral("9638")}, {53, QStringLiteral("5074")}}}}) {
    Generate(c.code);
    const QImage drawn = form().Picture22->Image();
    EXPECT_EQ(drawn.width(), c.width);
    const QImage expected = printed(drawn.width(), drawn.height(), c.groups);
    // Under the guard bars only the digits remain.
    EXPECT_EQ(drawn.copy(0, kGuardEnd, drawn.width(), drawn.height() - kGuardEnd),
              expected.copy(0, kGuardEnd, drawn.width(), drawn.height() - kGuardEnd))
        << c.code.toStdString();
    EXPECT_FALSE(form().Picture10->isHidden());
    EXPECT_FALSE(form().Picture22->isHidden());
    EXPECT_EQ(form().Picture10->Picture(), form().Picture2->Picture());
    EXPECT_EQ(form().Picture2->Picture(), drawn);
  }
  form().Option2->setChecked(true);
  form().Command1_Click();
  EXPECT_TRUE(form().Picture10->isHidden());
}

TEST_F(EanTest, WrongLengthsAndNonDigitsDrawNothingAndSayWhy) {
  for (const auto& [typed, why] : std::vector<std::pair<QString, QString>>{
           {QStringLiteral("5901234123457"), QStringLiteral("got 13 characters")},
           {QStringLiteral("9638507 "), QStringLiteral("got 8 characters")},
           {QStringLiteral(" 9638507"), QStringLiteral("got 8 characters")},
           {QStringLiteral("5"), QStringLiteral("got 1 characters")},
           {QStringLiteral("96385O7"), QStringLiteral("\"O\" (character 6)")},
           {QStringLiteral("59012341234x"), QStringLiteral("\"x\" (character 12)")},
           {QStringLiteral("590123 12345"), QStringLiteral("\" \" (character 7)")}}) {
    Generate(QStringLiteral("590123412345"));
    ASSERT_TRUE(form().Picture22->HasPicture());
    EXPECT_TRUE(Generate(typed).isNull()) << typed.toStdString();
    EXPECT_FALSE(form().Picture2->HasPicture());
    EXPECT_FALSE(form().Picture22->HasPicture());
    EXPECT_EQ(DarkRows(form().Picture22->Image(), kFirstModuleX).first, -1);
    EXPECT_TRUE(form().LastProblem().contains(why)) << form().LastProblem().toStdString();
    // The hint is not hidden under the empty EAN areas.
    EXPECT_FALSE(form().LabelHint->isHidden());
    EXPECT_TRUE(form().Picture22->isHidden());
    EXPECT_TRUE(form().Picture10->isHidden());
  }
  EXPECT_TRUE(dialogs.shown.empty());
}

}  // namespace
