#include "platform/picture_file.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>

namespace platform {

namespace {

constexpr int kDotsPerInch = 96;

QByteArray Svg(const QImage& picture) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setResolution(kDotsPerInch);
  svg.setSize(picture.size());
  svg.setViewBox(QRect(QPoint(0, 0), picture.size()));
  svg.setTitle(QStringLiteral("Barcode"));
  QPainter painter;
  if (!painter.begin(&svg)) return {};
  PaintRectangles(painter, picture, SIZE_MAX, true);
  painter.end();
  return buffer.data();
}

QByteArray Pdf(const QImage& picture) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter pdf(&buffer);
  pdf.setCreator(QStringLiteral("Quillon"));
  pdf.setResolution(kDotsPerInch);
  // PDF pages are whole points (3/4 pixel): rounded up, so the last column
  // and row are never cut; the page gains at most a sliver of white.
  const QSize points(static_cast<int>(std::ceil(picture.width() * 72.0 / kDotsPerInch)),
                     static_cast<int>(std::ceil(picture.height() * 72.0 / kDotsPerInch)));
  pdf.setPageLayout(QPageLayout(QPageSize(points, QString(), QPageSize::ExactMatch), QPageLayout::Portrait,
                                QMarginsF(0, 0, 0, 0)));
  QPainter painter;
  if (!painter.begin(&pdf)) return {};
  PaintRectangles(painter, picture, SIZE_MAX, true);
  if (!painter.end()) return {};
  return buffer.data();
}

QByteArray Png(const QImage& picture) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QImage copy = picture;
  // The PNG says 96 dots per inch, so programs that place it keep its size.
  const int dotsPerMetre = static_cast<int>(std::lround(kDotsPerInch / 0.0254));
  copy.setDotsPerMeterX(dotsPerMetre);
  copy.setDotsPerMeterY(dotsPerMetre);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(copy)) return {};
  return buffer.data();
}

}  // namespace

PictureFormat PictureFormatOf(const QString& path) {
  if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) return PictureFormat::Svg;
  if (path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) return PictureFormat::Pdf;
  return PictureFormat::Png;
}

std::vector<ColourRect> ColourRectangles(const QImage& picture) {
  const QImage image = picture.convertToFormat(QImage::Format_RGB32);
  const QRgb white = qRgb(255, 255, 255);
  const int width = image.width();
  std::vector<ColourRect> rects;
  // The runs of the row above that are still growing, in x order (the
  // runs of a row never overlap), each with its rectangle.
  struct Open {
    int x, width;
    QRgb colour;
    size_t rect;
  };
  std::vector<Open> open, next;
  // Bars make most rows copies of the row above: those only grow what is
  // open, counted here and added when a different row (or the end) comes.
  int repeated = 0;
  const auto grow = [&] {
    for (const Open& o : open) rects[o.rect].height += repeated;
    repeated = 0;
  };
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    if (y > 0 && std::memcmp(row, image.constScanLine(y - 1), static_cast<size_t>(width) * sizeof(QRgb)) == 0) {
      ++repeated;
      continue;
    }
    grow();
    next.clear();
    size_t above = 0;
    for (int x = 0; x < width;) {
      const QRgb colour = row[x] | 0xff000000u;
      int end = x + 1;
      while (end < width && (row[end] | 0xff000000u) == colour) ++end;
      if (colour != white) {
        while (above < open.size() && open[above].x < x) ++above;
        if (above < open.size() && open[above].x == x && open[above].width == end - x && open[above].colour == colour) {
          ++rects[open[above].rect].height;
          next.push_back(open[above]);
        } else {
          rects.push_back({x, y, end - x, 1, colour});
          next.push_back({x, end - x, colour, rects.size() - 1});
        }
      }
      x = end;
    }
    std::swap(open, next);
  }
  grow();
  return rects;
}

bool PaintRectangles(QPainter& painter, const QImage& picture, size_t most, bool whiteBackground) {
  const std::vector<ColourRect> rects = ColourRectangles(picture);
  if (rects.size() > most) return false;
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(Qt::NoPen);
  if (whiteBackground) {
    painter.setBrush(Qt::white);
    painter.drawRect(QRect(QPoint(0, 0), picture.size()));
  }
  // One group of rectangles per colour: one fill operation each.
  std::map<QRgb, QList<QRect>> byColour;
  for (const ColourRect& r : rects) byColour[r.colour] << QRect(r.x, r.y, r.width, r.height);
  for (const auto& [colour, group] : byColour) {
    painter.setBrush(QColor::fromRgb(colour));
    painter.drawRects(group);
  }
  return true;
}

QByteArray EncodePicture(const QImage& picture, PictureFormat format) {
  if (picture.isNull()) return {};
  switch (format) {
    case PictureFormat::Svg:
      return Svg(picture);
    case PictureFormat::Pdf:
      return Pdf(picture);
    case PictureFormat::Png:
      break;
  }
  return Png(picture);
}

QString WritePictureFile(const QImage& picture, const QString& path, Replace replace) {
  const QByteArray bytes = EncodePicture(picture, PictureFormatOf(path));
  if (bytes.isEmpty()) return QStringLiteral("cannot write %1: the picture could not be encoded").arg(path);
  const auto failed = [&path](const QString& why) { return QStringLiteral("cannot write %1: %2").arg(path, why); };
  OutputFile file;
  if (!file.Open(path, replace)) return failed(file.Error());
  if (file.Device()->write(bytes) != bytes.size()) {
    const QString why = file.Error().isEmpty() ? file.Device()->errorString() : file.Error();
    file.Abandon();
    return failed(why);
  }
  if (!file.Commit()) return failed(file.Error());
  return {};
}

}  // namespace platform
