#pragma once
// A picture area: a white drawing surface that keeps what is drawn on it in a
// persistent image, at 96 logical pixels per inch (15 twips per pixel).
//
// Its outer size is kept in twips of its container; drawing coordinates are
// in its scale (pixels or twips, origin at the top-left). It has no border,
// so the inner (scale) size is the outer size. It holds:
//  - Image(): the persistent image, everything drawn since the last clear;
//  - Picture(): the stored picture, which may be nothing. A clear restores the
//    image to the stored picture on the background colour.
#include <QFont>
#include <QImage>
#include <QWidget>

namespace platform {

enum class ScaleMode { Twips = 1, Pixels = 3 };

// One past the rightmost column of image that holds anything but white
// (0 for a blank image): where a drawing's ink ends.
int InkRight(const QImage& image);

inline constexpr QRgb kBlack = 0xFF000000;
inline constexpr QRgb kWhite = 0xFFFFFFFF;

class PictureBox : public QWidget {
 public:
  // Position and size in twips of the container.
  PictureBox(QWidget* container, double left, double top, double width, double height);

  // Outer size in twips, always a whole number of pixels (a size set in
  // twips snaps to the nearest pixel). Changing it keeps what is drawn at the
  // top-left.
  double Width() const { return image_.width() * 15.0; }
  double Height() const { return image_.height() * 15.0; }
  void SetWidth(double twips);
  void SetHeight(double twips);

  bool Visible() const { return !isHidden(); }
  void SetVisible(bool visible) { setVisible(visible); }

  ScaleMode GetScaleMode() const { return scaleMode_; }
  void SetScaleMode(ScaleMode mode) { scaleMode_ = mode; }
  double ScaleLeft() const { return 0; }
  double ScaleTop() const { return 0; }
  double ScaleWidth() const;
  double ScaleHeight() const;
  int PixelWidth() const { return image_.width(); }
  int PixelHeight() const { return image_.height(); }

  // Clears the drawing back to the stored picture; the current position
  // returns to the top-left.
  void Cls();
  // A filled box between two corners (scale units), both corners included:
  // where two boxes share an edge, the later one covers it.
  void FilledBox(double x1, double y1, double x2, double y2, QRgb colour);
  // A one-pixel line from the first point up to, not including, the second.
  void Line(double x1, double y1, double x2, double y2, QRgb colour);

  double CurrentX() const { return currentX_; }
  double CurrentY() const { return currentY_; }
  void SetCurrentX(double x) { currentX_ = x; }
  void SetCurrentY(double y) { currentY_ = y; }
  // Prints text with its top-left at the current position in the area's font,
  // then moves the current position to the start of the next line.
  void Print(const QString& text);
  double TextWidth(const QString& text) const;
  double TextHeight(const QString& text) const;

  double FontSize() const { return fontSize_; }
  void SetFontSize(double points);
  const QFont& Font() const { return font_; }

  QRgb BackColor() const { return backColor_; }
  void SetBackColor(QRgb colour);

  const QImage& Image() const { return image_; }
  // The image for drawing on directly (a device context works on it).
  QImage& MutableImage() {
    clean_ = false;
    return image_;
  }
  const QImage& Picture() const { return picture_; }
  bool HasPicture() const { return !picture_.isNull(); }
  // Setting a picture (a null image means nothing) also resets the drawing
  // to that picture.
  void SetPicture(const QImage& picture);

  // Shows what was drawn.
  void Refresh() { update(); }

  // Largest side of the persistent image, in pixels.
  static constexpr int kMaxPixels = 32767;

  double ToPixelsX(double x) const;
  double ToPixelsY(double y) const;
  double FromPixelsX(double px) const;
  double FromPixelsY(double px) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Reallocate(int width, int height);
  QImage Blank(int width, int height) const;

  ScaleMode scaleMode_ = ScaleMode::Twips;
  double currentX_ = 0;
  double currentY_ = 0;
  double fontSize_ = 8;
  QFont font_;
  QRgb backColor_ = kWhite;
  QImage image_;
  QImage picture_;
  bool clean_ = false;  // the image is exactly the background and the picture
};

}  // namespace platform
