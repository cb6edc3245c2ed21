#include "render/image.h"

#include "render/vector.h"

#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>

#include <algorithm>
#include <optional>

namespace render {

namespace {
constexpr int kDotsPerMeter96 = 3780;  // 96 dots per inch
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

QImage White(int width, int height) {
  QImage image(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
  image.setDotsPerMeterX(kDotsPerMeter96);
  image.setDotsPerMeterY(kDotsPerMeter96);
  image.fill(kWhite);
  return image;
}

// A stretched text: drawn at its own size on white, then each column of image
// takes the AND of the columns that the stretch maps onto it.
void PaintStretchedText(QImage& image, layout::TextItem item) {
  const layout::HorizontalStretch s = item.stretch;
  if (s.from <= 0 || s.to <= 0) return;
  item.stretch = {};
  const auto sourceColumn = [&s](qint64 d) { return s.origin + static_cast<qint64>(d * s.from / s.to); };
  const qint64 needed = sourceColumn(image.width()) + 1;
  QImage source =
      White(static_cast<int>(std::clamp<qint64>(needed, 0, image.width() * qint64{s.from} + 1)), image.height());
  if (source.isNull()) return;
  {
    QPainter painter(&source);
    PaintText(painter, item);
  }
  for (int y = 0; y < image.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int d = 0; d < image.width(); ++d) {
      const qint64 lo = sourceColumn(d);
      const qint64 hi = std::max(sourceColumn(d + 1), lo + 1);
      QRgb v = kWhite;
      for (qint64 c = std::max<qint64>(lo, 0); c < std::min<qint64>(hi, source.width()); ++c) v &= in[c];
      out[d] &= v;
    }
  }
}

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

namespace {

// Text drawn from its glyphs where no shaping can change it: a lone character
// (EAN's digits) or the characters Code 128 B places one by one.
// drawText shapes its text on every call, which was most of a keystroke for
// them. The font of the last text is kept, as a picture's texts share one.
bool DrawGlyphs(QPainter& painter, const layout::TextItem& item) {
  const qsizetype count = item.advances.empty() ? 1 : std::min<qsizetype>(item.text.size(), item.advances.size());
  if (item.advances.empty() && item.text.size() != 1) return false;
  struct Last {
    QFont font;
    QRawFont raw;
  };
  thread_local Last* last = new Last;  // never freed: no font outlives the application at exit
  if (!last->raw.isValid() || last->font != item.font) *last = {item.font, QRawFont::fromFont(item.font)};
  const QList<quint32> glyphs = last->raw.glyphIndexesForString(item.text.left(count));
  if (glyphs.size() != count || glyphs.contains(0)) return false;
  QList<QPointF> positions;
  for (qsizetype i = 0, x = 0; i < count; x += item.advances.empty() ? 0 : item.advances[static_cast<size_t>(i)], ++i)
    positions.append(QPointF(x, 0));
  QGlyphRun run;
  run.setRawFont(last->raw);
  run.setGlyphIndexes(glyphs);
  run.setPositions(positions);
  painter.save();
  if (!item.clip.isNull()) painter.setClipRect(item.clip, Qt::IntersectClip);
  painter.setPen(QColor(Qt::black));
  painter.drawGlyphRun(item.baseline, run);
  painter.restore();
  return true;
}

}  // namespace

QImage ToImage(const layout::Drawing& drawing) {
  QImage image = White(drawing.size.width(), drawing.size.height());
  for (const QRect& bar : drawing.bars)
    FillPixels(image, bar.left(), bar.top(), bar.right() + 1, bar.bottom() + 1, kBlack);
  if (image.isNull()) return image;
  std::optional<QPainter> painter;  // one for the texts in a row: opening one costs as much as a digit
  for (const layout::TextItem& item : drawing.texts) {
    if (!item.stretch.Identity()) {
      painter.reset();
      PaintStretchedText(image, item);
      continue;
    }
    if (!painter) painter.emplace(&image);
    if (!DrawGlyphs(*painter, item)) PaintText(*painter, item);
  }
  return image;
}

}  // namespace render
