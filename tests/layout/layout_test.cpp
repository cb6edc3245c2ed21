// Symbol + options -> drawing -> image, judged by two independent decoders,
// by the bar widths measured in the image and by the published tables. The
// layouts' refusals are in the encoders' table (tests/barcode).
#include "barcode/symbol.h"
#include "layout/code128_caption.h"
#include "layout/lay.h"
#include "render/image.h"
#include "render/vector.h"
#include "support/decode.h"
#include "support/published_tables.h"
#include "support/window_fixture.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using barcode::Symbology;
using layout::Code128Record;
using namespace Qt::StringLiterals;

layout::Options Options(bool textLine, double barHeight = 1.4, std::optional<double> width = {}, double font = 8) {
  layout::Options o;
  o.textLine = textLine;
  o.barHeight = barHeight;
  o.stretchWidth = width;
  o.fontSize = font;
  return o;
}

barcode::Symbol SymbolOf(Symbology symbology, const QString& text) {
  return *barcode::Encode(symbology, text).symbol;
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
  return row.append(static_cast<size_t>(std::max<int>(width, static_cast<int>(row.size()))) - row.size(), '0');
}

// The box of the dark pixels from row top down.
QRect InkBelow(const QImage& image, int top) {
  return test_support::DarkBox(image.copy(0, top, image.width(), image.height() - top)).translated(0, top);
}

// The bars measured in the image: each module unit pixels wide from its
// column, over the rows the bar height gives, a white row above and below
// them unless the picture ends there (EAN: the guard bars alone, 5 rows
// longer). Code 39's unit is 40 pixels a unit of the bar height box over 40,
// rounded half to even, its first bar one unit in; without the text line the
// picture ends with the bars. Code 128-1 and Code 2/5: two pixels a module or
// the stretch's whole pixels (width / 400, half to even), the first bar one
// pixel in (one module once stretched), bars from row 20 as tall as the box
// asks but never under the floor, the text line whole and clear of them.
struct BandRow {
  Symbology symbology;
  QString text;
  layout::Options options;
  int unit, left, top;
  int barRows;        // 0: at least the printable floor
  int guardRows;      // EAN's guard bars
  int width, height;  // of the picture; 0: not checked
  // EAN: each digit's cell, in modules from the first; left of it a
  // white column, then the digit's ink, at most 5 columns.
  std::vector<int> cells = {};
};
std::vector<BandRow> BandRows() {
  const QString all = QString::fromLatin1(published::kCode39Chars).chopped(1);  // all but "*"
  std::vector<BandRow> rows = {
      {Symbology::Code39, all, Options(false, 1.4), 1, 1, 0, 0, 0, 0, 38},
      {Symbology::Code39, all, Options(true, 2), 2, 2, 0, 0, 0, 0, 80},
      {Symbology::Code39, all, Options(false, 2.5), 2, 2, 0, 0, 0, 0, 82},
      {Symbology::Code39, all, Options(true, 3.5), 4, 4, 0, 0, 0, 0, 140},
      {Symbology::Code39, all, Options(true, 0.3), 1, 1, 0, 0, 0, 0, 0},  // grown to the floor
      // "A" with start and stop: 39 units and the trailing gap; the picture
      // ends a unit later, with the text line or without.
      {Symbology::Code39, "A", Options(true), 1, 1, 0, 0, 0, 41, 56},
      {Symbology::Code39, "A", Options(false), 1, 1, 0, 0, 0, 41, 38},
      // UPC-A: pixel column 17 on, rows 13 to 39 (200 to 600 twips); the
      // picture ends a pixel after the 95 modules, the text line 2 further.
      {Symbology::UpcA, "03600029145", Options(true), 1, 17, 13, 27, 0, 114, 57},
      {Symbology::UpcA, "88888888888", Options(false), 1, 17, 13, 27, 0, 113, 40},
      // EAN: pixel column 16 on, data bars rows 10 to 57, guard bars to 62,
      // the digits' descent to row 67; the EAN-13 leading digit left of the
      // start guard.
      {Symbology::Ean, "590123412345", {}, 1, 16, 10, 48, 53, 112, 68,
       {-8, 3, 10, 17, 24, 31, 38, 50, 57, 64, 71, 78, 85}},
      {Symbology::Ean, "9638507", {}, 1, 16, 10, 48, 53, 84, 68, {3, 10, 17, 24, 36, 43, 50, 57}},
  };
  const std::pair<std::optional<double>, int> widths[] = {{400, 1},  {500, 1},  {800, 2},
                                                          {1200, 3}, {1600, 4}, {std::nullopt, 2}};
  for (const auto& [symbology, text] : {std::pair{Symbology::Code128Pattern, u" x ~\\\" "_s},
                                        std::pair{Symbology::Interleaved2of5, u"123"_s}})
    for (const auto& [width, module] : widths)
      for (const double height : {0.1, 1.4, 25.0})
        rows.push_back({symbology, text, Options(true, height, width), module, width && *width != 800 ? module : 1, 20,
                        std::max(24, static_cast<int>(height * 10)) + 1, 0, 0, 0});
  return rows;
}

TEST(Layouts, EveryModuleHasItsWidthAndPlaceInTheImage) {
  for (const BandRow& r : BandRows()) {
    SCOPED_TRACE(r.text.toStdString() + " height " + std::to_string(r.options.barHeight) + " width " +
                 std::to_string(r.options.stretchWidth.value_or(0)));
    const barcode::Symbol symbol = SymbolOf(r.symbology, r.text);
    const QImage image = render::ToImage(*layout::Lay(symbol, r.options).drawing);
    EXPECT_TRUE(r.width == 0 || image.width() == r.width) << image.width();
    EXPECT_TRUE(r.height == 0 || image.height() == r.height) << image.height();
    const std::string bars = Expected(symbol.modules, r.unit, r.left, image.width());
    const std::string white(static_cast<size_t>(image.width()), '0');
    int barRows = 0;
    while (r.top + barRows < image.height() && Row(image, r.top + barRows) == bars) ++barRows;
    EXPECT_TRUE(r.barRows == 0 || barRows == r.barRows) << barRows;
    EXPECT_GE(barRows, barcode::kMinBarPixels);
    EXPECT_TRUE(r.top == 0 || Row(image, r.top - 1) == white);
    std::string guards = symbol.modules;
    for (size_t m = 0; m < guards.size(); ++m)
      if (r.guardRows == 0 || symbol.guards[m] == '0') guards[m] = '0';
    const int below = r.top + barRows;
    EXPECT_TRUE(below == image.height() || Row(image, below) == Expected(guards, r.unit, r.left, image.width()));
    for (size_t m = 0; m < guards.size(); ++m) {  // the guard bars' ends
      const int x = r.left + static_cast<int>(m);
      EXPECT_TRUE(guards[m] == '0' || (qGray(image.pixel(x, r.top + r.guardRows - 1)) < 128 &&
                                       qGray(image.pixel(x, r.top + r.guardRows)) >= 128))
          << m;
    }
    if (r.options.textLine) {  // the text line whole below the bars
      const QRect ink = InkBelow(image, below + 1);
      EXPECT_TRUE(!ink.isEmpty() && ink.bottom() < image.height() - 1) << ink.bottom();
    } else if (r.symbology != Symbology::Ean) {  // nothing but the bars
      int dark = 0;
      for (int y = 0; y < image.height(); ++y) dark += static_cast<int>(std::ranges::count(Row(image, y), '1'));
      EXPECT_EQ(dark, barRows * r.unit * static_cast<int>(std::ranges::count(symbol.modules, '1')));
    }
    // EAN: the columns of ink below the data bars (guard bars aside) form
    // one group a digit, inside its cell with a white column to spare on
    // each side, so that none touches a bar.
    if (r.cells.empty()) continue;
    std::string ink(static_cast<size_t>(image.width()), '0');
    for (int y = below; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (qGray(image.pixel(x, y)) < 192 && (y >= r.top + r.guardRows || bars[static_cast<size_t>(x)] == '0'))
          ink[static_cast<size_t>(x)] = '1';
    std::vector<std::pair<int, int>> groups;
    for (int x = 0; x < image.width(); ++x) {
      if (ink[static_cast<size_t>(x)] == '0') continue;
      if (groups.empty() || x - groups.back().second > 2) groups.push_back({x, x});  // a digit's own gaps are 1
      groups.back().second = x;
    }
    ASSERT_EQ(groups.size(), r.cells.size()) << ink;
    for (size_t i = 0; i < r.cells.size(); ++i)
      EXPECT_TRUE(groups[i].first > r.left + r.cells[i] && groups[i].second < r.left + r.cells[i] + 6) << i;
  }
}

// Every symbology's picture ends with its symbol: right of its last ink (the
// bars, or the text line where it is wider) and below it no more white than
// the layout keeps there. Quiet-zoned, the same pixels sit inside white
// margins of 10 modules (2 above and below), the module measured as the
// narrowest bar; with black all around, both decoders read it.
TEST(Layouts, PicturesEndWithTheSymbolAndScanInTheirQuietZoneNextToBlack) {
  const struct {
    Symbology symbology;
    QString text;
    layout::Options options;
    QString read;  // "": the text
    // The most white columns right of the ink: Code 39's trailing gap and a unit, a module for the others (a
    // pixel for the unstretched patterns, as left of their first bar), a wider text line's side bearing; and
    // the most white rows below it: the text line's room.
    int right, below;
  } rows[] = {
      {Symbology::Code39, u"hello world"_s, Options(true), u"HELLO WORLD"_s, 2, 6},
      {Symbology::Code39, u"-. $/+%"_s, Options(false, 0.1), {}, 2, 0},  // the lowest bars
      {Symbology::Code39, u"W"_s, Options(true, 0.5, {}, 40), {}, 3, 28},  // wider text
      {Symbology::UpcA, u"03600029145"_s, Options(true), u"036000291452"_s, 1, 4},
      {Symbology::Ean, u"590123412345"_s, {}, u"5901234123457"_s, 1, 2},
      {Symbology::Ean, u"9638507"_s, {}, u"96385074"_s, 1, 2},
      {Symbology::Code128B, u"Hello, World!"_s, Options(true), {}, 1, 3},
      {Symbology::Code128B, u"~\""_s, {}, {}, 1, 0},  // check values 99 and 101: CODE C, CODE A
      {Symbology::Code128B, u"~#"_s, Options(true), {}, 1, 4},
      {Symbology::Code128Pattern, u"Quillon 128"_s, Options(true, 1.4, 400), {}, 1, 3},
      {Symbology::Code128Pattern, u"Quillon 128"_s, Options(false, 1.4, 1600), {}, 4, 0},
      {Symbology::Code128Pattern, u"The quick brown fox jumps over a lazy do"_s, Options(true, 1.4, 500), {}, 1, 2},
      {Symbology::Interleaved2of5, u"31415926535897932384"_s, Options(true, 1.4, 400), {}, 1, 6},
      {Symbology::Interleaved2of5, u"31415926535897932384"_s, Options(false, 1.4, 1600), {}, 4, 0},
      {Symbology::Interleaved2of5, u"12345"_s, Options(true, 1.4, 800), u"012345"_s, 1, 6},
  };
  for (const auto& row : rows) {
    const QString read = row.read.isEmpty() ? row.text : row.read;
    SCOPED_TRACE(row.text.toStdString() + " " + std::to_string(row.options.stretchWidth.value_or(0)));
    const layout::Laid laid = layout::LayText(row.symbology, row.text, row.options);
    ASSERT_TRUE(laid.drawing);
    const QImage image = render::ToImage(*laid.drawing);
    const QRect ink = test_support::DarkBox(image);
    EXPECT_LE(image.width() - render::InkRight(image), row.right);
    EXPECT_LE(image.height() - 1 - ink.bottom(), row.below);
    const std::vector<int> runs = test_support::DarkLightRuns(image, ink.top() + 2);
    int m = image.width();  // the narrowest bar
    for (std::size_t i = 0; i < runs.size(); i += 2) m = std::min(m, runs[i]);
    EXPECT_EQ(laid.drawing->modulePixels, m);
    const QImage zoned = render::ToImage(layout::WithQuietZone(*laid.drawing));
    EXPECT_EQ(zoned.size(), image.size() + QSize(20 * m, 4 * m));
    EXPECT_EQ(zoned.copy(10 * m, 2 * m, image.width(), image.height()), image);
    EXPECT_EQ(test_support::DarkBox(zoned), ink.translated(10 * m, 2 * m));
    QImage framed(zoned.size() + QSize(40, 40), QImage::Format_RGB32);
    framed.fill(Qt::black);
    QPainter(&framed).drawImage(20, 20, zoned);
    const char* as[] = {"code39", "code128", "code128", "i25", "upca", read.size() == 8 ? "ean8" : "ean13"};
    const bool zbarOnly = row.symbology == Symbology::Interleaved2of5 && read.size() < 6;  // ZXing: 6 digits on
    const auto d = test_support::Decode(framed, QString::fromLatin1(as[static_cast<int>(row.symbology)]), read, 3,
                                        zbarOnly ? u"zbar"_s : u"zbar zxing"_s, 0);
    EXPECT_EQ(d.exitCode, 0) << d.output.toStdString();
  }
}

// The stretch takes the bars for the end of the drawing: no character takes
// a text line past them; painted as vectors, a stretched text line covers
// what the image shows.
TEST(Layouts, TheTextLineNeverPassesThePatternBars) {
  std::vector<std::pair<Symbology, QString>> texts;
  for (char16_t c = 32; c < 127; ++c) texts.emplace_back(Symbology::Code128Pattern, QString(12, QChar(c)));
  for (char16_t c = u'0'; c <= u'9'; ++c) texts.emplace_back(Symbology::Interleaved2of5, QString(20, QChar(c)));
  for (const auto& [symbology, text] : texts) {
    const layout::Laid laid = layout::LayText(symbology, text, Options(true));
    EXPECT_LT(InkBelow(render::ToImage(*laid.drawing), 46).right(), laid.drawing->bars.back().right())
        << text.toStdString();
  }
  for (const double width : {400.0, 1600.0}) {
    const layout::Laid laid = layout::LayText(Symbology::Interleaved2of5, u"12345678"_s, Options(true, 1.4, width));
    QImage painted(laid.drawing->size, QImage::Format_RGB32);
    QPainter painter(&painted);
    render::Paint(painter, *laid.drawing, true);
    painter.end();
    const QRect expected = InkBelow(render::ToImage(*laid.drawing), 46), ink = InkBelow(painted, 46);
    EXPECT_NEAR(ink.left(), expected.left(), 2) << width;
    EXPECT_NEAR(ink.right(), expected.right(), 3) << width;
  }
}

// The captioned Code 128 B's record: the worked example and what each field
// changes, the text rectangle holding the caption's ink, and the bars read
// back from the picture in modules of the published table.
TEST(Code128Caption, RecordsLayOutBoxBarsAndCaptionAsTheWorkedExample) {
  using E = layout::Edges;
  const struct {
    const char* name;
    QString data;
    Code128Record record;
    E box;
    QSize total;
    QPoint bars;
    E text;
  } rows[] = {
      {"worked example", u"A"_s, {.caption = u"A"_s}, {2, 1, 48, 60}, QSize(46, 59), {2, 1}, {2, 45, 48, 58}},
      {"no caption", u"A"_s, {.caption = {}}, {2, 1, 48, 42}, QSize(46, 41), {2, 1}, {}},
      {"a wide caption widens the box and centres the bars", u"A"_s, {.caption = u"A caption much wider than A"_s},
       {2, 1, 165, 60}, QSize(163, 59), {60, 1}, {2, 45, 165, 58}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const Code128Record& record = row.record;
    ASSERT_EQ(layout::CheckCode128(record), layout::Code128Fault::None);
    const barcode::Symbol symbol = SymbolOf(Symbology::Code128B, row.data);
    const layout::Code128Geometry g = layout::LayCode128Record(symbol, record);
    EXPECT_EQ(g.box, row.box);
    EXPECT_EQ(g.total, row.total);
    EXPECT_EQ(g.textRect, row.text);
    EXPECT_EQ(g.barOrigin, row.bars);
    EXPECT_EQ(g.drawing.size, QSize(record.left + row.total.width() + 1, record.top + row.total.height() - 1));
    const QImage image = render::ToImage(g.drawing);
    const std::vector<int> data(symbol.values.begin() + 1, symbol.values.end() - 2);
    const std::string modules = published::Code128Symbol(data, record.checkCharacter);
    for (const int y : {row.bars.y(), row.bars.y() + record.barHeight - 1})
      EXPECT_EQ(Row(image, y), Expected(modules, record.moduleWidth, row.bars.x(), image.width())) << y;
    // The caption's ink, wherever it is drawn, lies in its rectangle.
    QImage caption = image;
    QPainter(&caption).fillRect(QRect(0, row.bars.y(), image.width(), record.barHeight), Qt::white);
    const QRect ink = test_support::DarkBox(caption);
    EXPECT_EQ(ink.isEmpty(), record.caption.isEmpty());
    const QRect text(row.text.left, row.text.top, row.text.right - row.text.left, row.text.bottom - row.text.top);
    EXPECT_TRUE(ink.isEmpty() || text.contains(ink));
  }
}

// Below the bars (rows 1 to 40), from the smallest size to the largest, the
// caption is whole.
TEST(Code128Caption, TheCaptionIsWholeAtEverySize) {
  const auto below = [](const QString& data, const Code128Record& record) {
    const QImage image = render::ToImage(layout::LayCode128Record(SymbolOf(Symbology::Code128B, data), record).drawing);
    return image.copy(0, 41, image.width(), image.height() - 41);
  };
  for (const int size : {1, 8, 72}) {
    const QImage caption = below(u"Quillon 128"_s, {.caption = u"Quillon 128"_s, .fontSize = size});
    const QRect ink = test_support::DarkBox(caption);
    EXPECT_TRUE(size < 8 || !ink.isEmpty()) << size;
    EXPECT_TRUE(ink.isEmpty() || (ink.top() > 0 && ink.bottom() < caption.height() - 1 && ink.left() > 0 &&
                                  ink.right() < caption.width() - 1)) << size;
  }
}

}  // namespace
