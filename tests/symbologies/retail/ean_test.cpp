// EAN-13, EAN-8 and UPC-A (EAN-13 with a leading 0) as drawn into the window,
// judged by the published number sets and parity table, by pixel runs and by
// two independent decoders.
#include "support/decode.h"
#include "support/window_fixture.h"
#include "support/published_tables.h"
#include "symbologies/retail/ean.h"
#include "symbologies/retail/upca.h"

#include <algorithm>

namespace {

std::string WithCheck(const std::string& digits) { return digits + published::CheckDigit(digits); }

// The modules of 12 (EAN-13) or 7 (EAN-8) digits and their check digit.
std::string Published(const std::string& digits) {
  const std::string all = WithCheck(digits);
  const bool ean8 = all.size() == 8;
  const size_t first = ean8 ? 0 : 1;
  const size_t half = ean8 ? 4 : 7;
  std::string m = "101";
  for (size_t i = first; i < all.size(); ++i) {
    if (i == half) m += "01010";
    const int d = all[i] - '0';
    m += published::EanDigit(d, i >= half ? 'C' : ean8 ? 'A' : published::kEanParity[all[0] - '0'][i - 1]);
  }
  return m + "101";
}

// Pixels of one row as modules, "1" dark.
std::string Modules(const QImage& img, int row, int x0 = 0, int n = -1) {
  std::string s;
  for (int x = x0; x < (n < 0 ? img.width() : x0 + n); ++x) s += qGray(img.pixel(x, row)) < 128 ? '1' : '0';
  return s;
}

// A blank area of width x height pixels with texts printed at pixel positions.
QImage Printed(int width, int height, std::initializer_list<std::tuple<double, double, const char*>> texts) {
  platform::PictureBox box(nullptr, 0, 0, width * 15.0, height * 15.0);
  box.SetScaleMode(platform::ScaleMode::Pixels);
  for (const auto& [x, y, text] : texts) {
    box.SetCurrentX(x);
    box.SetCurrentY(y);
    box.Print(QString::fromLatin1(text));
  }
  return box.Image();
}
// Picture9 (337 x 73 pixels) with text at its text position, (450, 650) twips.
QImage PrintedAlone(const char* text) { return Printed(337, 73, {{450 / 15.0, 650 / 15.0, text}}); }

QImage Below(const QImage& img, int row) { return img.copy(0, row, img.width(), img.height() - row); }

constexpr int kUpcX = 17;        // UPC-A: first module column; bars fill rows 13 to 39
constexpr int kUpcBarEnd = 40;
constexpr int kEanX = 16;        // EAN: first module column; bars from row 10
constexpr int kEanDataEnd = 58;  // data bars 48 rows, guard bars 5 more
constexpr int kEanGuardEnd = 63;

class RetailTest : public test_support::WindowTest {
 protected:
  // Eleven digits as UPC-A, anything else as EAN.
  QImage Generate(const std::string& text) {
    (text.size() == 11 ? window().upcAChoice : window().eanChoice)->setChecked(true);
    window().barcodeText->setText(QString::fromStdString(text));
    return window().FinishedPicture();
  }
};

TEST_F(RetailTest, DecodersReadEveryFirstDigitAndEveryCheckDigit) {
  std::vector<std::string> codes = {"590123412345", "9638507", "03600029145"};
  for (int i = 0; i < 10; ++i)
    for (const size_t length : {12, 7, 11}) {
      // First digit i, the last chosen for the check digit 7i + 3 (mod 10).
      const std::string code = char('0' + i) + std::string("3141592653", length - 2);
      char last = '0';
      while (WithCheck(code + last).back() != '0' + (i * 7 + 3) % 10) ++last;
      codes.push_back(code + last);
    }
  for (size_t i = 0; i < codes.size(); ++i) {
    window().textLineCheck->SetValue(static_cast<int>(i % 2));  // UPC-A without and with the text line
    const QImage img = Generate(codes[i]);
    const char* symbology = codes[i].size() == 12 ? "ean13" : codes[i].size() == 7 ? "ean8" : "upca";
    const auto d = test_support::Decode(img, QString::fromLatin1(symbology), QString::fromStdString(WithCheck(codes[i])));
    EXPECT_EQ(d.exitCode, 0) << codes[i] << "\n" << d.output.toStdString();
    if (i % 2 && codes[i].size() == 11) {  // the code and its check digit under the bars
      EXPECT_EQ(Below(img, kUpcBarEnd), Below(PrintedAlone(WithCheck(codes[i]).c_str()), kUpcBarEnd));
    }
  }
}

TEST_F(RetailTest, DrawnModulesAreThePublishedSymbolsOnePixelEach) {
  std::vector<std::string> codes = {"9638507", "0123456", "5555555", "03600029145", "56789012345", "88888888888"};
  for (char first = '0'; first <= '9'; ++first) codes.push_back(first + std::string("01234567895"));
  for (const std::string& code : codes) {
    const bool upc = code.size() == 11;
    const QImage img = Generate(code);
    ASSERT_FALSE(img.isNull()) << code;
    const std::string modules = Published(upc ? "0" + code : code);
    const int x0 = upc ? kUpcX : kEanX;
    const std::string row = std::string(x0, '0') + modules + std::string(img.width() - x0 - modules.size(), '0');
    for (const int y : upc ? std::vector{13, 25, 39} : std::vector{10, 30, 57}) EXPECT_EQ(Modules(img, y), row) << code;
    if (!upc) continue;
    // Nothing else is drawn: only the 27 bar rows hold dark pixels.
    int dark = 0;
    for (int y = 0; y < img.height(); ++y) dark += static_cast<int>(std::ranges::count(Modules(img, y), '1'));
    EXPECT_EQ(dark, 27 * std::ranges::count(modules, '1')) << code;
    // On a black area the two trailing white space modules show too.
    platform::PictureBox box(nullptr, 0, 0, 5055, 1095);
    box.SetBackColor(platform::kBlack);
    ASSERT_TRUE(retail::DrawUpcA(QString::fromStdString(code), box, 0).drawn);
    EXPECT_EQ(Modules(box.Image(), 25), std::string(kUpcX, '1') + modules + "00" +
                                            std::string(img.width() - kUpcX - 97, '1'));
    EXPECT_EQ(Modules(box.Image(), 12) + Modules(box.Image(), 40), std::string(2 * img.width(), '1'));
  }
}

TEST_F(RetailTest, EanGuardBarsReachFivePixelsLowerAndEachDigitStandsUnderItsOwnModules) {
  const std::string modules = Published("590123412345");
  std::string guards = modules;
  for (size_t m = 3; m < 92; ++m)
    if (m < 45 || m >= 50) guards[m] = '0';
  platform::PictureBox bare(nullptr, 0, 0, 5775, 975);
  ASSERT_TRUE(retail::DrawEan13(bare, 12, QStringLiteral("590123412345"), false).drawn);
  const std::pair<int, std::string> rows[] = {{9, std::string(95, '0')}, {10, modules}, {57, modules},
                                              {58, guards}, {62, guards}, {63, std::string(95, '0')}};
  for (const auto& [y, expected] : rows) EXPECT_EQ(Modules(bare.Image(), y, kEanX, 95), expected) << y;
  // One digit under each digit's seven modules, the EAN-13 leading digit left
  // of the start guard: the columns of ink below the data bars (guard bars
  // aside) form one group per digit, inside its cell with a white column to
  // spare on each side, so that none touches a bar.
  const std::pair<std::string, std::vector<int>> cases[] = {
      {"590123412345", {-8, 3, 10, 17, 24, 31, 38, 50, 57, 64, 71, 78, 85}}, {"9638507", {3, 10, 17, 24, 36, 43, 50, 57}}};
  for (const auto& [code, cells] : cases) {
    const QImage drawn = Generate(code);
    ASSERT_FALSE(drawn.isNull()) << code;
    const std::string symbol = Published(code);
    std::string ink(drawn.width(), '0');
    for (int y = kEanDataEnd; y < drawn.height(); ++y)
      for (int x = 0; x < drawn.width(); ++x) {
        const bool guard = y < kEanGuardEnd && x >= kEanX && x - kEanX < static_cast<int>(symbol.size()) &&
                           symbol[static_cast<size_t>(x - kEanX)] == '1';
        if (!guard && qGray(drawn.pixel(x, y)) < 192) ink[static_cast<size_t>(x)] = '1';
      }
    std::vector<std::pair<int, int>> groups;
    for (int x = 0; x < drawn.width(); ++x)
      if (ink[static_cast<size_t>(x)] == '1') {
        if (groups.empty() || x - groups.back().second > 2) groups.push_back({x, x});  // a digit's own gaps are 1
        groups.back().second = x;
      }
    ASSERT_EQ(groups.size(), cells.size()) << code << "\n" << ink;
    for (size_t i = 0; i < cells.size(); ++i)
      EXPECT_TRUE(groups[i].first > kEanX + cells[i] && groups[i].second < kEanX + cells[i] + 6) << code << " " << i;
    EXPECT_FALSE(window().Picture10->isHidden());
    EXPECT_EQ(window().finishedPictureBox->Picture(), window().Picture22->Image());
  }
}

TEST_F(RetailTest, CodesThatCannotBeDrawnGiveNoPictureAndSayWhy) {
  const QImage blank = PrintedAlone("");
  const QImage message = PrintedAlone("Code is not 11 Digits");
  // UPC-A or EAN, what is typed, why it is refused, what Picture9 shows.
  const std::tuple<bool, const char*, const char*, const QImage&> cases[] = {
      {true, "036000291452", "got 12 characters", message}, {true, " 0360002914 ", "got 10 characters", message},
      {true, "0360002914A", "\"A\" (character 11)", blank}, {true, "036 0029145", "\" \" (character 4)", blank},
      {false, "5901234123457", "got 13 characters", blank}, {false, "9638507 ", "got 8 characters", blank},
      {false, "96385O7", "\"O\" (character 6)", blank}};
  for (const auto& [upc, typed, why, picture9] : cases) {
    Generate(upc ? "03600029145" : "590123412345");
    ASSERT_TRUE(window().finishedPictureBox->HasPicture());
    window().barcodeText->setText(QString::fromLatin1(typed));
    EXPECT_TRUE(window().FinishedPicture().isNull()) << typed;
    EXPECT_FALSE(window().Picture22->HasPicture()) << typed;
    EXPECT_EQ(window().Picture9->Image(), picture9) << typed;
    EXPECT_TRUE(window().LastProblem().contains(QString::fromLatin1(why))) << window().LastProblem().toStdString();
    // The hint is not hidden under the empty EAN areas.
    EXPECT_FALSE(window().LabelHint->isHidden());
    EXPECT_TRUE(window().Picture22->isHidden() && window().Picture10->isHidden()) << typed;
  }
  EXPECT_TRUE(dialogs.shown.empty());
}

}  // namespace
