#include "platform/picture_box.h"

#include <gtest/gtest.h>

namespace {

using platform::kBlack;
using platform::kWhite;
using platform::PictureBox;
using platform::ScaleMode;

// Pixels of a row (or a column) from..to-1 as text: '#' black, '.' otherwise.
std::string Pixels(const PictureBox& p, int at, int from, int to, bool column = false) {
  std::string s;
  for (int i = from; i < to; ++i) s += p.Image().pixel(column ? at : i, column ? i : at) == kBlack ? '#' : '.';
  return s;
}

TEST(PictureBox, SizesSnapToWholePixelsAtFifteenTwipsEach) {
  PictureBox p(nullptr, 0, 0, 6615, 855);
  EXPECT_EQ(p.PixelWidth(), 441);
  EXPECT_EQ(p.PixelHeight(), 57);
  EXPECT_EQ(p.ScaleWidth(), 441 * 15);  // twips scale at first
  p.SetScaleMode(ScaleMode::Pixels);
  EXPECT_EQ(p.ScaleHeight(), 57);
  p.SetWidth(100);  // 6.67 pixels
  EXPECT_EQ(p.PixelWidth(), 7);
  EXPECT_EQ(p.Width(), 105);
  EXPECT_EQ(p.Image().dotsPerMeterX(), 3780);  // 96 dpi
}

TEST(PictureBox, FilledBoxesIncludeBothCornersAndLinesStopJustBeforeTheirEnd) {
  PictureBox p(nullptr, 0, 0, 20 * 15, 10 * 15);
  p.SetScaleMode(ScaleMode::Pixels);
  p.FilledBox(2, 0, 4, 1, kBlack);
  p.FilledBox(4, 0, 5, 1, kWhite);  // the later box covers the shared edge
  EXPECT_EQ(Pixels(p, 1, 0, 8), "..##....");
  p.Line(12, 1, 12, 5, kBlack);  // upright: rows 1..4
  p.Line(18, 6, 14, 6, kBlack);  // level, right to left: columns 18..15
  p.Line(0, 3, 3, 6, kBlack);    // slanted: (0,3) to (2,5)
  EXPECT_EQ(Pixels(p, 12, 0, 7, true), ".####..");
  EXPECT_EQ(Pixels(p, 6, 13, 20), "..####.");
  EXPECT_EQ(Pixels(p, 5, 0, 4), "..#.");
  EXPECT_EQ(Pixels(p, 6, 0, 4), "....");
  // Twips: 30 twips are 2 pixels.
  p.SetScaleMode(ScaleMode::Twips);
  p.FilledBox(150, 120, 180, 135, kBlack);
  EXPECT_EQ(Pixels(p, 8, 9, 14) + Pixels(p, 9, 9, 14), ".###..###.");
  p.Line(150, 120, 150, 135, kWhite);
  EXPECT_EQ(Pixels(p, 10, 7, 10, true), "..#");  // the end point stays black
}

TEST(PictureBox, ClearGoesBackToThePictureAndGrowingKeepsTheDrawing) {
  PictureBox p(nullptr, 0, 0, 150, 150);
  p.SetScaleMode(ScaleMode::Pixels);
  p.FilledBox(0, 0, 1, 1, kBlack);
  p.SetWidth(300);
  EXPECT_EQ(Pixels(p, 0, 0, 16), "##" + std::string(14, '.'));
  EXPECT_FALSE(p.HasPicture());
  p.SetPicture(p.Image());
  p.FilledBox(5, 5, 6, 6, kBlack);
  p.Cls();
  EXPECT_EQ(Pixels(p, 0, 0, 3) + Pixels(p, 5, 4, 7), "##....");  // the picture stays, the drawing goes
  // A picture narrower than the area covers its own width, the background the
  // rest; a wider one is cut at the area's edge.
  p.SetWidth(450);
  p.SetBackColor(kBlack);
  EXPECT_EQ(Pixels(p, 0, 0, 30) + Pixels(p, 9, 0, 30), "##" + std::string(18, '.') + std::string(10, '#') +
                                                          std::string(20, '.') + std::string(10, '#'));
  p.SetBackColor(kWhite);
  p.SetWidth(45);
  p.FilledBox(2, 0, 2, 0, kBlack);
  p.Cls();
  EXPECT_EQ(Pixels(p, 0, 0, 3), "##.");
  p.SetPicture(QImage());
  EXPECT_FALSE(p.HasPicture());
  EXPECT_EQ(Pixels(p, 0, 0, 3), "...");
  // Setting "nothing" again still clears a drawing, whatever size changes came between.
  p.FilledBox(1, 1, 2, 2, kBlack);
  p.SetWidth(600);
  p.SetPicture(QImage());
  p.FilledBox(3, 3, 3, 3, kBlack);
  EXPECT_EQ(Pixels(p, 1, 0, 4) + Pixels(p, 3, 0, 4), ".......#");
  p.SetHeight(75);
  p.Cls();
  EXPECT_EQ(Pixels(p, 3, 0, 4), "....");
}

}  // namespace
