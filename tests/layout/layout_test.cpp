// Symbol + options -> drawing -> image, judged by the frozen pictures, by two
// independent decoders and by the bar widths measured in the image.
#include "barcode/symbol.h"
#include "layout/lay.h"
#include "render/image.h"
#include "support/decode.h"
#include "support/frozen_table.h"
#include "support/published_tables.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using barcode::Symbology;
using test_support::FrozenRow;

// The finished picture of text, or a null image.
QImage Drawn(Symbology symbology, const QString& text, const layout::Options& options) {
  const layout::Laid laid = layout::LayText(symbology, text, options);
  return laid.drawing ? render::ToImage(*laid.drawing) : QImage();
}

layout::Options WithTextLine(bool line, double barHeight = 1.4) {
  layout::Options options;
  options.textLine = line;
  options.barHeight = barHeight;
  return options;
}

// One pixel row, '1' for a dark pixel.
std::string Row(const QImage& image, int y) {
  std::string row;
  for (int x = 0; x < image.width(); ++x) row += qGray(image.pixel(x, y)) < 128 ? '1' : '0';
  return row;
}

// modules, each unit pixels wide, from column left of a row width wide.
std::string Expected(const std::string& modules, int unit, int left, int width) {
  std::string row(static_cast<size_t>(left), '0');
  for (const char m : modules) row.append(static_cast<size_t>(unit), m);
  return row.append(static_cast<size_t>(width) - row.size(), '0');
}

// The options a row's boxes give; a box that holds no number gives the
// initial value.
layout::Options OptionsOf(const FrozenRow& row) {
  layout::Options options;
  bool ok = false;
  const double height = row.height.toDouble(&ok);
  options.barHeight = ok ? height : 1.4;
  const double font = row.font.toDouble(&ok);
  options.fontSize = ok ? font : 8;
  options.textLine = row.line == QLatin1String("1");
  return options;
}

QString Result(const layout::Laid& laid) {
  if (laid.drawing) return test_support::Digest(render::ToImage(*laid.drawing));
  return test_support::RefusalDigest(laid.refusal.message, laid.refusal.boxText);
}

TEST(Code39UpcAEanFrozenPictures, EveryCode39UpcAndEanRowIsDrawnOrRefusedAsRecorded) {
  int compared = 0;
  for (const FrozenRow& row : test_support::ReadFrozenTable()) {
    const auto symbology = barcode::SymbologyNamed(row.symbology);
    ASSERT_TRUE(symbology) << row.Key().toStdString();
    if (*symbology != barcode::Symbology::Code39 && *symbology != barcode::Symbology::UpcA &&
        *symbology != barcode::Symbology::Ean)
      continue;
    EXPECT_EQ(Result(layout::LayText(*symbology, row.text, OptionsOf(row))), row.result) << row.Key().toStdString();
    ++compared;
  }
  EXPECT_EQ(compared, 266);
}

// The bars measured in the image: each module unit pixels wide from its
// column, over the rows the bar height gives, a white row below them (EAN:
// the guard bars alone, 5 rows longer). Code 39's unit is the picture's
// height over 40, rounded half to even, its first bar one unit in.
struct PixelRunRow {
  Symbology symbology;
  QString text;
  layout::Options options;
  int unit, left, top;
  int barRows;        // 0: at least the printable floor
  int guardRows;      // EAN's guard bars
  int width, height;  // of the picture; 0: not checked
};
std::vector<PixelRunRow> PixelRunRows() {
  const QString all = QString::fromLatin1(published::kCode39Chars).chopped(1);  // all but "*"
  return {
      {Symbology::Code39, all, WithTextLine(false, 1.4), 1, 1, 0, 0, 0, 0, 56},
      {Symbology::Code39, all, WithTextLine(true, 2), 2, 2, 0, 0, 0, 0, 80},
      {Symbology::Code39, all, WithTextLine(false, 2.5), 2, 2, 0, 0, 0, 0, 100},
      {Symbology::Code39, all, WithTextLine(true, 3.5), 4, 4, 0, 0, 0, 0, 140},
      {Symbology::Code39, all, WithTextLine(true, 0.3), 1, 1, 0, 0, 0, 0, 0},  // grown to the floor
      // "A" with start and stop: 39 units and the trailing gap; with the text
      // line the picture ends a unit later, without it 3 x 16.5 = 49.5 wide.
      {Symbology::Code39, "A", WithTextLine(true), 1, 1, 0, 0, 0, 41, 56},
      {Symbology::Code39, "A", WithTextLine(false), 1, 1, 0, 0, 0, 50, 56},
      // UPC-A: pixel column 17 on, rows 13 to 39 (200 to 600 twips).
      {Symbology::UpcA, "03600029145", WithTextLine(true), 1, 17, 13, 27, 0, 337, 73},
      {Symbology::UpcA, "88888888888", WithTextLine(false), 1, 17, 13, 27, 0, 337, 73},
      // EAN: pixel column 16 on, data bars rows 10 to 57, guard bars to 62.
      {Symbology::Ean, "590123412345", {}, 1, 16, 10, 48, 53, 225, 73},
      {Symbology::Ean, "9638507", {}, 1, 16, 10, 48, 53, 225, 73},
  };
}

TEST(Code39UpcAEanPixelRuns, EveryModuleHasItsWidthAndPlaceInTheImage) {
  for (const PixelRunRow& r : PixelRunRows()) {
    SCOPED_TRACE(r.text.toStdString() + " height " + std::to_string(r.options.barHeight));
    const barcode::Encoded encoded = barcode::Encode(r.symbology, r.text);
    ASSERT_TRUE(encoded.symbol);
    const QImage image = Drawn(r.symbology, r.text, r.options);
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(r.width == 0 || image.width() == r.width) << image.width();
    EXPECT_TRUE(r.height == 0 || image.height() == r.height) << image.height();
    const std::string bars = Expected(encoded.symbol->modules, r.unit, r.left, image.width());
    const std::string white(static_cast<size_t>(image.width()), '0');
    int barRows = 0;
    while (r.top + barRows < image.height() && Row(image, r.top + barRows) == bars) ++barRows;
    EXPECT_TRUE(r.barRows == 0 || barRows == r.barRows) << barRows;
    EXPECT_GE(barRows, barcode::kMinBarPixels);
    EXPECT_TRUE(r.top == 0 || Row(image, r.top - 1) == white);
    std::string guards = encoded.symbol->modules;
    for (size_t m = 0; m < guards.size(); ++m)
      if (r.guardRows == 0 || encoded.symbol->guards[m] == '0') guards[m] = '0';
    EXPECT_EQ(Row(image, r.top + barRows), Expected(guards, r.unit, r.left, image.width()));
    // Without a text line, nothing but the bars is drawn.
    if (!r.options.textLine && r.symbology != Symbology::Ean) {
      int dark = 0;
      for (int y = 0; y < image.height(); ++y) dark += static_cast<int>(std::ranges::count(Row(image, y), '1'));
      EXPECT_EQ(dark, barRows * r.unit * static_cast<int>(std::ranges::count(encoded.symbol->modules, '1')));
    }
    for (size_t m = 0; m < guards.size(); ++m) {
      if (guards[m] == '0') continue;
      const int x = r.left + static_cast<int>(m);
      EXPECT_TRUE(qGray(image.pixel(x, r.top + r.guardRows - 1)) < 128 &&
                  qGray(image.pixel(x, r.top + r.guardRows)) >= 128)
          << m;
    }
  }
}

// One digit under each digit's seven modules, the EAN-13 leading digit left
// of the start guard: the columns of ink below the data bars (guard bars
// aside) form one group a digit, inside its cell with a white column to
// spare on each side, so that none touches a bar.
TEST(EanPixelRuns, EachDigitStandsUnderItsOwnModules) {
  constexpr int kFirstModule = 16, kDataEnd = 58, kGuardEnd = 63;
  const std::pair<QString, std::vector<int>> cases[] = {
      {"590123412345", {-8, 3, 10, 17, 24, 31, 38, 50, 57, 64, 71, 78, 85}},
      {"9638507", {3, 10, 17, 24, 36, 43, 50, 57}}};
  for (const auto& [code, cells] : cases) {
    const std::string symbol = barcode::Encode(Symbology::Ean, code).symbol->modules;
    const QImage image = Drawn(Symbology::Ean, code, {});
    std::string ink(static_cast<size_t>(image.width()), '0');
    for (int y = kDataEnd; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const int m = x - kFirstModule;
        const bool guard =
            y < kGuardEnd && m >= 0 && m < static_cast<int>(symbol.size()) && symbol[static_cast<size_t>(m)] == '1';
        if (!guard && qGray(image.pixel(x, y)) < 192) ink[static_cast<size_t>(x)] = '1';
      }
    std::vector<std::pair<int, int>> groups;
    for (int x = 0; x < image.width(); ++x) {
      if (ink[static_cast<size_t>(x)] == '0') continue;
      if (groups.empty() || x - groups.back().second > 2) groups.push_back({x, x});  // a digit's own gaps are 1
      groups.back().second = x;
    }
    ASSERT_EQ(groups.size(), cells.size()) << code.toStdString() << "\n" << ink;
    for (size_t i = 0; i < cells.size(); ++i)
      EXPECT_TRUE(groups[i].first > kFirstModule + cells[i] && groups[i].second < kFirstModule + cells[i] + 6)
          << code.toStdString() << " digit " << i;
  }
}

TEST(Code39UpcAEanDecoders, BothDecodersReadWhatIsDrawn) {
  const struct {
    Symbology symbology;
    QString text;
    layout::Options options;
    const char* decodeAs;
    QString read;
  } rows[] = {
      {Symbology::Code39, "hello world", WithTextLine(true), "code39", "HELLO WORLD"},
      {Symbology::Code39, "-. $/+%", WithTextLine(false, 0.1), "code39", "-. $/+%"},  // the lowest bars
      {Symbology::Code39, " ORDER/2026+17%$ ", WithTextLine(true, 2), "code39", " ORDER/2026+17%$ "},
      {Symbology::UpcA, "03600029145", WithTextLine(true), "upca", "036000291452"},
      {Symbology::UpcA, " 98765432109", WithTextLine(false), "upca", test_support::WithCheckDigit("98765432109")},
      {Symbology::Ean, "590123412345", {}, "ean13", "5901234123457"},
      {Symbology::Ean, "901234567890", {}, "ean13", test_support::WithCheckDigit("901234567890")},
      {Symbology::Ean, "9638507", {}, "ean8", "96385074"},
  };
  for (const auto& r : rows) {
    const auto decoded = test_support::Decode(Drawn(r.symbology, r.text, r.options), r.decodeAs, r.read);
    EXPECT_EQ(decoded.exitCode, 0) << r.text.toStdString() << "\n" << decoded.output.toStdString();
  }
}

}  // namespace
