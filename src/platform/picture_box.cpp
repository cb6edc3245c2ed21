#include "platform/picture_box.h"

#include "platform/controls.h"
#include "render/image.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform {

namespace {
constexpr int kDotsPerMeter96 = 3780;  // 96 dots per inch

int ToPixelExtent(double twips) {
  if (!(twips > 0)) return 0;  // also NaN
  return static_cast<int>(std::min(std::lround(std::min(twips, 1e9) / kTwipsPerPixel),
                                   static_cast<long>(PictureBox::kMaxPixels)));
}

int Nearest(double px) { return static_cast<int>(std::floor(px + 0.5)); }
}  // namespace

int InkRight(const QImage& image) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  int right = 0;
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = rgb.width() - 1; x >= right; --x) {
      if ((line[x] & 0xFFFFFF) != 0xFFFFFF) {
        right = x + 1;
        break;
      }
    }
  }
  return right;
}

PictureBox::PictureBox(QWidget* container, double left, double top, double width, double height)
    : QWidget(container) {
  font_ = QFont(QStringLiteral("DejaVu Sans"));
  SetFontSize(8);
  setFocusPolicy(Qt::NoFocus);
  move(TwipsToPixels(left), TwipsToPixels(top));
  Reallocate(ToPixelExtent(width), ToPixelExtent(height));
}

QImage PictureBox::Blank(int width, int height) const {
  QImage img(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
  img.setDotsPerMeterX(kDotsPerMeter96);
  img.setDotsPerMeterY(kDotsPerMeter96);
  img.fill(backColor_);
  return img;
}

void PictureBox::Reallocate(int w, int h) {
  if (image_.width() != w || image_.height() != h) {
    QImage resized = Blank(w, h);
    if (image_.isNull()) {
      clean_ = true;
    } else if (!clean_ || !picture_.isNull()) {
      // Keep what is drawn at the top-left (a resize neither clears nor
      // changes whether the image is just background and picture).
      const int rows = std::min(h, image_.height());
      const auto bytes = static_cast<size_t>(std::min(w, image_.width())) * sizeof(QRgb);
      for (int y = 0; y < rows; ++y) std::memcpy(resized.scanLine(y), image_.constScanLine(y), bytes);
    }
    image_ = resized;
  }
  resize(w, h);
  update();
}

void PictureBox::SetWidth(double twips) { Reallocate(ToPixelExtent(twips), image_.height()); }

void PictureBox::SetHeight(double twips) { Reallocate(image_.width(), ToPixelExtent(twips)); }

double PictureBox::ScaleWidth() const {
  return scaleMode_ == ScaleMode::Pixels ? image_.width() : image_.width() * kTwipsPerPixel;
}

double PictureBox::ScaleHeight() const {
  return scaleMode_ == ScaleMode::Pixels ? image_.height() : image_.height() * kTwipsPerPixel;
}

double PictureBox::ToPixelsX(double x) const {
  return scaleMode_ == ScaleMode::Pixels ? x - ScaleLeft() : (x - ScaleLeft()) / kTwipsPerPixel;
}
double PictureBox::ToPixelsY(double y) const {
  return scaleMode_ == ScaleMode::Pixels ? y - ScaleTop() : (y - ScaleTop()) / kTwipsPerPixel;
}
double PictureBox::FromPixelsX(double px) const {
  return scaleMode_ == ScaleMode::Pixels ? px + ScaleLeft() : px * kTwipsPerPixel + ScaleLeft();
}
double PictureBox::FromPixelsY(double px) const {
  return scaleMode_ == ScaleMode::Pixels ? px + ScaleTop() : px * kTwipsPerPixel + ScaleTop();
}

void PictureBox::Cls() {
  currentX_ = ScaleLeft();
  currentY_ = ScaleTop();
  if (clean_) return;  // already just the background and the picture
  if (!picture_.isNull() && picture_.format() == QImage::Format_RGB32 && image_.format() == QImage::Format_RGB32 &&
      picture_.devicePixelRatio() == 1.0 && image_.devicePixelRatio() == 1.0) {
    // An opaque picture covers what it overlaps: copy its rows, fill the rest
    // (the same pixels a painter gives, without one). A picture taken from
    // this very image, not drawn on since, already is the result.
    if (picture_.constBits() == image_.constBits()) {
      clean_ = true;
      update();
      return;
    }
    const int rows = std::min(image_.height(), picture_.height());
    const int cols = std::min(image_.width(), picture_.width());
    uchar* bits = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    for (int y = 0; y < image_.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(bits + y * stride);
      int from = 0;
      if (y < rows) {
        std::memcpy(line, picture_.constScanLine(y), static_cast<size_t>(cols) * sizeof(QRgb));
        from = cols;
      }
      std::fill(line + from, line + image_.width(), backColor_);
    }
  } else {
    image_.fill(backColor_);
    if (!picture_.isNull()) {
      QPainter p(&image_);
      p.drawImage(0, 0, picture_);
    }
  }
  clean_ = true;
  update();
}

void PictureBox::FilledBox(double x1, double y1, double x2, double y2, QRgb colour) {
  int left = Nearest(ToPixelsX(std::min(x1, x2)));
  int right = Nearest(ToPixelsX(std::max(x1, x2)));
  int top = Nearest(ToPixelsY(std::min(y1, y2)));
  int bottom = Nearest(ToPixelsY(std::max(y1, y2)));
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, image_.width() - 1);
  bottom = std::min(bottom, image_.height() - 1);
  if (left > right || top > bottom) return;
  clean_ = false;
  render::FillPixels(image_, left, top, right + 1, bottom + 1, colour);
  update();
}

void PictureBox::Line(double x1, double y1, double x2, double y2, QRgb colour) {
  const QPoint a(Nearest(ToPixelsX(x1)), Nearest(ToPixelsY(y1)));
  const QPoint b(Nearest(ToPixelsX(x2)), Nearest(ToPixelsY(y2)));
  if (a == b) return;
  clean_ = false;
  if (a.x() == b.x() || a.y() == b.y()) {
    // Upright and level lines, the common case, set their pixels directly.
    // The run from a up to, not including, b, clipped to the image once.
    const bool upright = a.x() == b.x();
    const int fixed = upright ? a.x() : a.y();
    const int from = upright ? a.y() : a.x();
    const int to = upright ? b.y() : b.x();
    const int lo = std::max(std::min(from, to + 1), 0);  // the first and last index drawn
    const int hi = std::min(std::max(from, to - 1), (upright ? image_.height() : image_.width()) - 1);
    if (fixed >= 0 && fixed < (upright ? image_.width() : image_.height()) && lo <= hi) {
      uchar* bits = image_.bits();
      const qsizetype stride = image_.bytesPerLine();
      if (upright) {
        for (int y = lo; y <= hi; ++y) reinterpret_cast<QRgb*>(bits + y * stride)[fixed] = colour;
      } else {
        auto* line = reinterpret_cast<QRgb*>(bits + fixed * stride);
        std::fill(line + lo, line + hi + 1, colour);
      }
    }
    update();
    return;
  }
  // Drawn to the end point, then the end point itself repainted as it was:
  // a line ends just before its second point.
  const bool endInside = image_.rect().contains(b);
  const QRgb endWas = endInside ? image_.pixel(b) : 0;
  QPainter p(&image_);
  p.setPen(QPen(QColor::fromRgb(colour), 0));
  p.drawLine(a, b);
  p.end();
  if (endInside) image_.setPixel(b, endWas);
  update();
}

void PictureBox::SetFontSize(double points) {
  fontSize_ = points;
  font_.setPixelSize(std::max(1, static_cast<int>(std::lround(points * kPixelsPerInch / 72.0))));
}

double PictureBox::TextWidth(const QString& text) const {
  const QFontMetricsF fm(font_);
  double widest = 0;
  for (const QString& line : text.split(QLatin1Char('\n')))
    widest = std::max(widest, fm.horizontalAdvance(line));
  return scaleMode_ == ScaleMode::Pixels ? widest : widest * kTwipsPerPixel;
}

double PictureBox::TextHeight(const QString& text) const {
  const QFontMetrics fm(font_);
  const double px = fm.height() * static_cast<double>(std::max<qsizetype>(1, text.count(QLatin1Char('\n')) + 1));
  return scaleMode_ == ScaleMode::Pixels ? px : px * kTwipsPerPixel;
}

void PictureBox::Print(const QString& text) {
  const QFontMetrics fm(font_);
  clean_ = false;
  QPainter p(&image_);
  p.setFont(font_);
  p.setPen(QColor(Qt::black));
  p.drawText(QPointF(ToPixelsX(currentX_), ToPixelsY(currentY_) + fm.ascent()), text);
  p.end();
  currentX_ = ScaleLeft();
  currentY_ += TextHeight(text);
  update();
}

void PictureBox::SetBackColor(QRgb colour) {
  backColor_ = colour | 0xFF000000;
  clean_ = false;
  Cls();
}

void PictureBox::SetPicture(const QImage& picture) {
  if (picture.isNull() && picture_.isNull()) {
    Cls();  // nothing to nothing: the drawing is cleared, no picture to repaint
    return;
  }
  picture_ = picture;
  clean_ = false;
  Cls();
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, image_);
}

}  // namespace platform
