// The GDI-style device context: rectangles, objects, text and stretching,
// checked pixel by pixel.
#include "platform/device_context.h"
#include "support/decode.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace {

namespace gdi = platform::gdi;
using gdi::DeviceContext;

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;

QImage White(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(kWhite);
  return img;
}

// The first `width` pixels of every row, '#' for black, '.' for anything else.
std::string Rows(const QImage& img, int width) {
  std::string s;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x <= width; ++x) s += x == width ? '|' : img.pixel(x, y) == kBlack ? '#' : '.';
  return s;
}

QRect Ink(const QImage& img) { return test_support::DarkBox(img, 100); }

TEST(DeviceContext, MulDivRoundsHalvesAwayFromZeroAndReportsOverflow) {
  const std::array<std::int32_t, 4> cases[] = {
      {8, 96, 72, 11}, {3, 1, 2, 2}, {-3, 1, 2, -2}, {7, 1, 3, 2}, {1 << 30, 1 << 20, 1 << 20, 1 << 30},
      {1 << 30, 8, 4, -1}, {5, 5, 0, -1}};
  for (const auto& [n, num, den, result] : cases) EXPECT_EQ(gdi::MulDiv(n, num, den), result) << n << " " << num;
}

TEST(DeviceContext, RectanglesFillUpToTheSecondCornerAndOnePixelLessWithTheNullPen) {
  QImage img = White(12, 6);
  DeviceContext dc(img);
  dc.SelectObject(dc.CreateSolidBrush(gdi::RGB(0, 0, 0)));
  dc.Rectangle(1, 1, 4, 5);  // black pen: three columns, four rows
  dc.SelectObject(dc.GetStockObject(gdi::NULL_PEN));
  dc.Rectangle(6, 1, 10, 5);  // three columns, three rows
  EXPECT_EQ(Rows(img, 12), "............|.###..###...|.###..###...|.###..###...|.###........|............|");
}

TEST(DeviceContext, ObjectsSelectInPlaceOfTheirKindAndSelectedOnesAreNotDeleted) {
  QImage img = White(4, 4);
  DeviceContext dc(img);
  const gdi::HBRUSH brush = dc.CreateSolidBrush(gdi::RGB(1, 2, 3));
  EXPECT_EQ(dc.SelectObject(brush), dc.GetStockObject(gdi::WHITE_BRUSH));
  EXPECT_EQ(dc.SelectObject(dc.CreatePen(gdi::PS_SOLID, 1, 0)), dc.GetStockObject(gdi::BLACK_PEN));
  EXPECT_FALSE(dc.DeleteObject(brush));  // still selected
  EXPECT_EQ(dc.SelectObject(dc.GetStockObject(gdi::NULL_BRUSH)), brush);
  EXPECT_TRUE(dc.DeleteObject(brush));
  EXPECT_FALSE(dc.DeleteObject(dc.GetStockObject(gdi::BLACK_PEN)));
}

TEST(DeviceContext, FontsByCharacterHeightAndDrawText) {
  QImage img = White(200, 40);
  DeviceContext dc(img);
  gdi::TEXTMETRICA tm;
  gdi::LOGFONTA lf{.lfHeight = -11, .lfWeight = 400, .lfQuality = 1};
  std::strcpy(lf.lfFaceName, "MS Sans Serif");
  dc.SelectObject(dc.CreateFontIndirectA(lf));
  dc.GetTextMetricsA(&tm);
  EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 11);
  dc.SetBkMode(gdi::TRANSPARENT);
  gdi::SIZE extent;
  dc.GetTextExtentPoint32A("Centre", 6, &extent);
  gdi::RECT calc{10, 5, 190, 6};
  EXPECT_EQ(dc.DrawTextA("Centre", -1, &calc, gdi::DT_CALCRECT | gdi::DT_CENTER), extent.cy);
  EXPECT_EQ(calc, (gdi::RECT{10, 5, 10 + extent.cx, 5 + extent.cy}));
  EXPECT_EQ(Ink(img), QRect());  // calculating draws nothing
  const auto draw = [&](const char* text, gdi::RECT r, unsigned format) {
    img.fill(kWhite);
    dc.DrawTextA(text, -1, &r, format);
    return Ink(img);
  };
  const gdi::RECT wide{10, 5, 190, 5 + extent.cy};
  const QRect centred = draw("Centre", wide, gdi::DT_CENTER);
  EXPECT_NEAR(centred.center().x(), 100, 2);
  EXPECT_EQ(draw("Centre", wide, gdi::DT_CENTER | gdi::DT_RIGHT), centred);  // centre wins
  // Clipped to the rectangle unless DT_NOCLIP.
  const gdi::RECT narrow{10, 5, 20, 5 + extent.cy};
  EXPECT_TRUE(QRect(10, 5, 10, extent.cy).contains(draw("Centre", narrow, gdi::DT_LEFT)));
  EXPECT_GT(draw("Centre", narrow, gdi::DT_NOCLIP).right(), 20);
}

TEST(DeviceContext, StretchingKeepsBlackWhenShrinkingAndRepeatsWhenGrowing) {
  QImage src = White(8, 1);
  for (const int x : {3, 6, 7}) src.setPixel(x, 0, kBlack);  // a one-pixel bar at an odd column
  QImage dst = White(16, 1);
  DeviceContext from(src);
  DeviceContext to(dst);
  EXPECT_EQ(to.SetStretchBltMode(0), 0);  // rejected: black on white stays
  const auto stretch = [&](int wDest, int xSrc, int wSrc) {
    dst.fill(kWhite);
    to.StretchBlt(0, 0, wDest, 1, from, xSrc, 0, wSrc, 1, gdi::SRCCOPY);
    return Rows(dst, wDest);
  };
  EXPECT_EQ(stretch(4, 0, 8), ".#.#|");
  EXPECT_EQ(stretch(16, 0, 8), "......##....####|");
  EXPECT_EQ(stretch(6, -1, 6), "....#.|");  // outside the image is white
  EXPECT_EQ(to.SetStretchBltMode(gdi::COLORONCOLOR), gdi::BLACKONWHITE);
  EXPECT_EQ(stretch(4, 0, 8), "...#|");  // the first pixel of each pair
}

}  // namespace
