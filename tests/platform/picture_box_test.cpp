#include "platform/picture_box.h"

#include <gtest/gtest.h>

namespace {

using platform::kBlack;
using platform::kWhite;
using platform::PictureBox;
using platform::ScaleMode;

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

TEST(PictureBox, FilledBoxesIncludeBothCornersAndTheLaterOneCoversTheSharedEdge) {
  PictureBox p(nullptr, 0, 0, 20 * 15, 3 * 15);
  p.SetScaleMode(ScaleMode::Pixels);
  p.FilledBox(2, 0, 4, 2, kBlack);
  p.FilledBox(4, 0, 5, 2, kWhite);
  std::string row;
  for (int x = 0; x < 8; ++x) row += p.Image().pixel(x, 1) == kBlack ? '#' : '.';
  EXPECT_EQ(row, "..##....");
  // Twips scale: 30 twips are 2 pixels.
  p.SetScaleMode(ScaleMode::Twips);
  p.FilledBox(150, 0, 180, 30, kBlack);
  EXPECT_EQ(p.Image().pixel(10, 0), kBlack);
  EXPECT_EQ(p.Image().pixel(12, 2), kBlack);
  EXPECT_EQ(p.Image().pixel(13, 0), kWhite);
}

TEST(PictureBox, ClearGoesBackToTheStoredPictureAndGrowingKeepsTheDrawing) {
  PictureBox p(nullptr, 0, 0, 150, 150);
  p.SetScaleMode(ScaleMode::Pixels);
  p.FilledBox(0, 0, 1, 1, kBlack);
  p.SetWidth(300);
  EXPECT_EQ(p.Image().pixel(0, 0), kBlack);
  EXPECT_EQ(p.Image().pixel(15, 0), kWhite);
  EXPECT_FALSE(p.HasPicture());
  p.SetPicture(p.Image());
  p.FilledBox(5, 5, 6, 6, kBlack);
  p.Cls();
  EXPECT_EQ(p.Image().pixel(0, 0), kBlack);  // from the picture
  EXPECT_EQ(p.Image().pixel(5, 5), kWhite);  // the drawing is gone
  p.SetPicture(QImage());
  EXPECT_FALSE(p.HasPicture());
  EXPECT_EQ(p.Image().pixel(0, 0), kWhite);
  // Setting "nothing" again still clears a drawing, whatever size changes came between.
  p.FilledBox(1, 1, 2, 2, kBlack);
  p.SetWidth(600);
  p.SetPicture(QImage());
  EXPECT_EQ(p.Image().pixel(1, 1), kWhite);
  p.FilledBox(3, 3, 3, 3, kBlack);
  p.SetHeight(75);
  p.Cls();
  EXPECT_EQ(p.Image().pixel(3, 3), kWhite);
}

TEST(PictureBox, PrintMovesToTheNextLineAndMeasuresInTheCurrentScale) {
  PictureBox p(nullptr, 0, 0, 3000, 1500);
  p.SetScaleMode(ScaleMode::Pixels);
  p.SetFontSize(12);  // 16 pixels
  const double h = p.TextHeight(QStringLiteral("X"));
  EXPECT_GE(h, 16);
  EXPECT_LE(h, 22);
  p.SetCurrentX(10);
  p.SetCurrentY(5);
  p.Print(QStringLiteral("X"));
  EXPECT_EQ(p.CurrentX(), 0);
  EXPECT_EQ(p.CurrentY(), 5 + h);
  bool inked = false;
  for (int y = 5; y < 5 + h; ++y)
    for (int x = 10; x < 30; ++x) inked = inked || qGray(p.Image().pixel(x, y)) < 128;
  EXPECT_TRUE(inked);
  p.SetScaleMode(ScaleMode::Twips);
  EXPECT_EQ(p.TextHeight(QStringLiteral("X")), h * 15);
}

}  // namespace

namespace {

TEST(PictureBox, LinesStopJustBeforeTheirSecondPoint) {
  PictureBox p(nullptr, 0, 0, 10 * 15, 10 * 15);
  p.SetScaleMode(ScaleMode::Pixels);
  p.Line(2, 1, 2, 5, kBlack);   // upright: rows 1..4
  p.Line(8, 6, 4, 6, kBlack);   // level, right to left: columns 8..5
  p.Line(0, 0, 3, 3, kBlack);   // slanted: (0,0) to (2,2)
  std::string column, row;
  for (int y = 0; y < 7; ++y) column += p.Image().pixel(2, y) == kBlack ? '#' : '.';
  for (int x = 3; x < 10; ++x) row += p.Image().pixel(x, 6) == kBlack ? '#' : '.';
  EXPECT_EQ(column, ".####..");
  EXPECT_EQ(row, "..####.");
  EXPECT_EQ(p.Image().pixel(2, 2), kBlack);
  EXPECT_EQ(p.Image().pixel(3, 3), kWhite);
  // Twips: a line at x = 30 twips is pixel column 2.
  p.SetScaleMode(ScaleMode::Twips);
  p.Line(30, 120, 30, 135, kWhite);
  EXPECT_EQ(p.Image().pixel(2, 8), kWhite);
}

}  // namespace
