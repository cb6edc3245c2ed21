#include "render/image.h"

#include "render/vector.h"

#include <QPainter>

#include <algorithm>

namespace render {

namespace {
constexpr int kDotsPerMeter96 = 3780;  // 96 dots per inch
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

}  // namespace

void FillPixels(QImage& image, int left, int top, int right, int bottom, QRgb colour) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, image.width());
  bottom = std::min(bottom, image.height());
  if (left >= right || top >= bottom) return;
  uchar* bits = image.bits();  // detaches once, not once per row
  const qsizetype stride = image.bytesPerLine();
  const int width = right - left;
  uchar* row = bits + top * stride + left * static_cast<qsizetype>(sizeof(QRgb));
  for (int y = top; y < bottom; ++y, row += stride) {
    auto* px = reinterpret_cast<QRgb*>(row);
    // Bars are a few pixels wide: plain stores beat a fill's set-up per row.
    if (width <= 4) {
      px[0] = colour;
      if (width > 1) px[1] = colour;
      if (width > 2) px[2] = colour;
      if (width > 3) px[3] = colour;
    } else {
      std::fill(px, px + width, colour);
    }
  }
}

QImage ToImage(const layout::Drawing& drawing) {
  QImage image(drawing.size.expandedTo(QSize(0, 0)), QImage::Format_RGB32);
  image.setDotsPerMeterX(kDotsPerMeter96);
  image.setDotsPerMeterY(kDotsPerMeter96);
  image.fill(kWhite);
  for (const QRect& bar : drawing.bars) FillPixels(image, bar.left(), bar.top(), bar.right() + 1, bar.bottom() + 1, kBlack);
  if (!drawing.texts.empty() && !image.isNull()) {
    QPainter painter(&image);
    for (const layout::TextItem& item : drawing.texts) PaintText(painter, item);
  }
  return image;
}

}  // namespace render
