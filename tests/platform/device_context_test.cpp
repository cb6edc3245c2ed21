// The GDI-style device context: rectangles, objects, text and stretching,
// checked pixel by pixel.
#include "platform/device_context.h"

#include <gtest/gtest.h>

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

// Rows of '#' (black) and '.' (anything else).
std::string Row(const QImage& img, int y, int from, int to) {
  std::string s;
  for (int x = from; x < to; ++x) s += img.pixel(x, y) == kBlack ? '#' : '.';
  return s;
}

QRect Ink(const QImage& img) {
  QRect box;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (qGray(img.pixel(x, y)) < 100) box |= QRect(x, y, 1, 1);
  return box;
}

gdi::HFONT Font(DeviceContext& dc, int height) {
  gdi::LOGFONTA lf;
  lf.lfHeight = height;
  lf.lfWeight = 400;
  lf.lfQuality = 1;
  std::strcpy(lf.lfFaceName, "MS Sans Serif");
  return dc.CreateFontIndirectA(lf);
}

TEST(DeviceContext, MulDivRoundsAndReportsOverflow) {
  EXPECT_EQ(gdi::MulDiv(8, 96, 72), 11);  // 10.67
  EXPECT_EQ(gdi::MulDiv(3, 1, 2), 2);     // halves away from zero
  EXPECT_EQ(gdi::MulDiv(-3, 1, 2), -2);
  EXPECT_EQ(gdi::MulDiv(7, 1, 3), 2);
  EXPECT_EQ(gdi::MulDiv(1 << 30, 1 << 20, 1 << 20), 1 << 30);  // the product takes 64 bits
  EXPECT_EQ(gdi::MulDiv(1 << 30, 1 << 30, 1 << 20), -1);
  EXPECT_EQ(gdi::MulDiv(5, 5, 0), -1);
  EXPECT_EQ(gdi::MulDiv(1 << 30, 8, 4), -1);
  QImage img = White(3, 3);
  DeviceContext dc(img);
  EXPECT_EQ(dc.GetDeviceCaps(gdi::LOGPIXELSY), 96);
  EXPECT_EQ(dc.GetDeviceCaps(gdi::LOGPIXELSX), 96);
}

TEST(DeviceContext, RectanglesFillUpToTheSecondCornerAndOnePixelLessWithTheNullPen) {
  QImage img = White(12, 6);
  DeviceContext dc(img);
  dc.SelectObject(dc.CreateSolidBrush(gdi::RGB(0, 0, 0)));
  dc.SelectObject(dc.CreatePen(gdi::PS_SOLID, 1, gdi::RGB(0, 0, 0)));
  dc.Rectangle(1, 1, 4, 5);  // three columns, four rows
  EXPECT_EQ(Row(img, 0, 0, 12), "............");
  for (int y = 1; y < 5; ++y) EXPECT_EQ(Row(img, y, 0, 6), ".###..") << y;
  EXPECT_EQ(Row(img, 5, 0, 12), "............");

  img.fill(kWhite);
  dc.SelectObject(dc.GetStockObject(gdi::NULL_PEN));
  dc.Rectangle(6, 1, 10, 5);
  EXPECT_EQ(Row(img, 1, 4, 12), "..###...");
  EXPECT_EQ(Row(img, 3, 4, 12), "..###...");
  EXPECT_EQ(Row(img, 4, 4, 12), "........");

  // A white pen around a black brush; the null brush leaves the inside.
  img.fill(kBlack);
  dc.SelectObject(dc.GetStockObject(gdi::WHITE_PEN));
  dc.SelectObject(dc.GetStockObject(gdi::NULL_BRUSH));
  dc.Rectangle(0, 0, 5, 4);
  EXPECT_EQ(Row(img, 0, 0, 6), ".....#");
  EXPECT_EQ(Row(img, 1, 0, 6), ".###.#");
  EXPECT_EQ(Row(img, 3, 0, 6), ".....#");
}

TEST(DeviceContext, ObjectsSelectInPlaceOfTheirKindAndSelectedOnesAreNotDeleted) {
  QImage img = White(4, 4);
  DeviceContext dc(img);
  const gdi::HBRUSH brush = dc.CreateSolidBrush(gdi::RGB(1, 2, 3));
  const gdi::HPEN pen = dc.CreatePen(gdi::PS_SOLID, 1, 0);
  EXPECT_EQ(dc.SelectObject(brush), dc.GetStockObject(gdi::WHITE_BRUSH));
  EXPECT_EQ(dc.SelectObject(pen), dc.GetStockObject(gdi::BLACK_PEN));
  EXPECT_EQ(dc.SelectObject(dc.GetStockObject(gdi::NULL_BRUSH)), brush);
  EXPECT_FALSE(dc.DeleteObject(pen));  // still selected
  EXPECT_TRUE(dc.DeleteObject(brush));
  EXPECT_FALSE(dc.DeleteObject(brush));
  EXPECT_EQ(dc.SelectObject(brush), 0u);
  EXPECT_FALSE(dc.DeleteObject(dc.GetStockObject(gdi::BLACK_PEN)));
}

TEST(DeviceContext, FontsByCharacterHeightAndTheirMetrics) {
  QImage img = White(4, 4);
  DeviceContext dc(img);
  dc.SelectObject(Font(dc, -11));
  gdi::TEXTMETRICA tm;
  ASSERT_TRUE(dc.GetTextMetricsA(&tm));
  EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 11);
  EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
  EXPECT_GT(tm.tmAveCharWidth, 0);
  gdi::TEXTMETRICA cell;
  dc.SelectObject(Font(dc, 20));  // a positive height is the whole cell
  dc.GetTextMetricsA(&cell);
  EXPECT_NEAR(cell.tmHeight, 20, 1);

  gdi::SIZE one;
  gdi::SIZE three;
  ASSERT_TRUE(dc.GetTextExtentPoint32A("W", 1, &one));
  dc.GetTextExtentPoint32A("WWW", 3, &three);
  EXPECT_EQ(three.cx, 3 * one.cx);
  EXPECT_EQ(three.cy, cell.tmHeight);
  EXPECT_EQ(dc.SetTextCharacterExtra(4), 0);
  dc.GetTextExtentPoint32A("WWW", 3, &three);
  EXPECT_EQ(three.cx, 3 * one.cx + 12);
}

TEST(DeviceContext, DrawTextCentresClipsAndCalculatesItsRectangle) {
  QImage img = White(200, 40);
  DeviceContext dc(img);
  dc.SelectObject(Font(dc, -11));
  dc.SetBkMode(gdi::TRANSPARENT);
  gdi::SIZE extent;
  dc.GetTextExtentPoint32A("Centre", 6, &extent);

  gdi::RECT calc{10, 5, 190, 6};
  EXPECT_EQ(dc.DrawTextA("Centre", -1, &calc, gdi::DT_CALCRECT | gdi::DT_CENTER), extent.cy);
  EXPECT_EQ(calc, (gdi::RECT{10, 5, 10 + extent.cx, 5 + extent.cy}));
  EXPECT_EQ(Ink(img), QRect());  // calculating draws nothing

  gdi::RECT r{10, 5, 190, 5 + extent.cy};
  dc.DrawTextA("Centre", -1, &r, gdi::DT_CENTER);
  const QRect centred = Ink(img);
  EXPECT_NEAR(centred.center().x(), 100, 2);
  img.fill(kWhite);
  dc.DrawTextA("Centre", 6, &r, gdi::DT_CENTER | gdi::DT_RIGHT);  // centre wins
  EXPECT_EQ(Ink(img), centred);
  img.fill(kWhite);
  dc.DrawTextA("Centre", 6, &r, gdi::DT_RIGHT);
  EXPECT_LE(Ink(img).right(), 189);
  EXPECT_GE(Ink(img).right(), 189 - 3);

  // Clipped to the rectangle unless DT_NOCLIP.
  img.fill(kWhite);
  gdi::RECT narrow{10, 5, 20, 5 + extent.cy};
  dc.DrawTextA("Centre", 6, &narrow, gdi::DT_LEFT);
  EXPECT_TRUE(QRect(10, 5, 10, extent.cy).contains(Ink(img)));
  img.fill(kWhite);
  dc.DrawTextA("Centre", 6, &narrow, gdi::DT_NOCLIP);
  EXPECT_GT(Ink(img).right(), 20);

  // Two lines: twice the height.
  gdi::RECT two{0, 0, 200, 0};
  EXPECT_EQ(dc.DrawTextA("a\r\nb", -1, &two, gdi::DT_CALCRECT), 2 * extent.cy);
}

TEST(DeviceContext, StretchingKeepsBlackWhenShrinkingAndRepeatsWhenGrowing) {
  QImage src = White(8, 1);
  src.setPixel(3, 0, kBlack);  // a one-pixel bar at an odd column
  src.setPixel(6, 0, kBlack);
  src.setPixel(7, 0, kBlack);
  QImage dst = White(16, 1);
  DeviceContext from(src);
  DeviceContext to(dst);
  EXPECT_EQ(to.SetStretchBltMode(0), 0);  // rejected
  EXPECT_EQ(to.GetStretchBltMode(), gdi::BLACKONWHITE);
  ASSERT_TRUE(to.StretchBlt(0, 0, 4, 1, from, 0, 0, 8, 1, gdi::SRCCOPY));
  EXPECT_EQ(Row(dst, 0, 0, 6), ".#.#..");
  dst.fill(kWhite);
  to.StretchBlt(0, 0, 16, 1, from, 0, 0, 8, 1, gdi::SRCCOPY);
  EXPECT_EQ(Row(dst, 0, 0, 16), "......##....####");
  // From one pixel left of the image: what lies outside is white.
  dst.fill(kWhite);
  to.StretchBlt(0, 0, 6, 1, from, -1, 0, 6, 1, gdi::SRCCOPY);
  EXPECT_EQ(Row(dst, 0, 0, 6), "....#.");
  // With colour on colour the first pixel of each pair is kept.
  dst.fill(kWhite);
  EXPECT_EQ(to.SetStretchBltMode(gdi::COLORONCOLOR), gdi::BLACKONWHITE);
  to.StretchBlt(0, 0, 4, 1, from, 0, 0, 8, 1, gdi::SRCCOPY);
  EXPECT_EQ(Row(dst, 0, 0, 4), "...#");
}

}  // namespace
