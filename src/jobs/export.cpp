#include "jobs/export.h"

#include "render/vector.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <cmath>

namespace jobs {

namespace {

constexpr int kDotsPerInch = 96;

QByteArray Svg(const layout::Drawing& drawing) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setResolution(kDotsPerInch);
  svg.setSize(drawing.size);
  svg.setViewBox(QRect(QPoint(0, 0), drawing.size));
  svg.setTitle(QStringLiteral("Barcode"));
  QPainter painter;
  if (!painter.begin(&svg)) return {};
  render::Paint(painter, drawing, true);
  painter.end();
  return buffer.data();
}

QByteArray Pdf(const layout::Drawing& drawing) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter pdf(&buffer);
  pdf.setCreator(QStringLiteral("Quillon"));
  pdf.setResolution(kDotsPerInch);
  // PDF pages are whole points (3/4 pixel): rounded up, so the last column
  // and row are never cut; the page gains at most a sliver of white.
  const QSize points(static_cast<int>(std::ceil(drawing.size.width() * 72.0 / kDotsPerInch)),
                     static_cast<int>(std::ceil(drawing.size.height() * 72.0 / kDotsPerInch)));
  pdf.setPageLayout(QPageLayout(QPageSize(points, QString(), QPageSize::ExactMatch), QPageLayout::Portrait,
                                QMarginsF(0, 0, 0, 0)));
  QPainter painter;
  if (!painter.begin(&pdf)) return {};
  render::Paint(painter, drawing, true);
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

QByteArray EncodePicture(const Generated& generated, PictureFormat format) {
  if (!generated.Drawn()) return {};
  switch (format) {
    case PictureFormat::Svg:
      return Svg(*generated.drawing);
    case PictureFormat::Pdf:
      return Pdf(*generated.drawing);
    case PictureFormat::Png:
      break;
  }
  return Png(generated.picture);
}

QString WritePicture(const Generated& generated, const QString& path, platform::Replace replace) {
  const QByteArray bytes = EncodePicture(generated, PictureFormatOf(path));
  if (bytes.isEmpty()) return QStringLiteral("cannot write %1: the picture could not be encoded").arg(path);
  const auto failed = [&path](const QString& why) { return QStringLiteral("cannot write %1: %2").arg(path, why); };
  platform::OutputFile file;
  if (!file.Open(path, replace)) return failed(file.Error());
  if (file.Device()->write(bytes) != bytes.size()) {
    const QString why = file.Error().isEmpty() ? file.Device()->errorString() : file.Error();
    file.Abandon();
    return failed(why);
  }
  if (!file.Commit()) return failed(file.Error());
  return {};
}

}  // namespace jobs
