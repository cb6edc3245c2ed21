#include "platform/printers.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>

namespace platform {

namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr double kPicturePixelsPerInch = 96.0;
// "Save as PDF" pages: A4 with the quarter-inch margins of a typical printer.
constexpr double kPdfMarginMillimetres = 6.35;

// The printers' font: nothing in the program sets it.
QFont PrinterFont() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(10);
  return font;
}

}  // namespace

QStringList PrinterNames() {
  QStringList names = QPrinterInfo::availablePrinterNames();
  names.removeAll(kSaveAsPdf);  // the built-in one always comes last, once
  names << kSaveAsPdf;
  return names;
}

QString DefaultPrinterName() {
  const QString name = QPrinterInfo::defaultPrinterName();
  return name.isEmpty() ? kSaveAsPdf : name;
}

QString DefaultPdfFolder() {
  const QString fromEnvironment = qEnvironmentVariable("QUILLON_PDF_DIR");
  if (!fromEnvironment.isEmpty()) return fromEnvironment;
  QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (documents.isEmpty()) documents = QDir::homePath();
  return QDir(documents).filePath(QStringLiteral("Quillon"));
}

Printers::Printers(QString pdfFolder) : pdfFolder_(std::move(pdfFolder)), current_(DefaultPrinterName()) {}

Printers::~Printers() {
  // A document still open at the end is sent rather than lost.
  if (painter_) EndDoc();
}

void Printers::SelectPrinter(const QString& name) {
  if (painter_) return;
  const QStringList names = PrinterNames();
  const auto match = std::find(names.begin(), names.end(), name);
  if (match == names.end() || *match == current_) return;
  current_ = *match;
  printer_.reset();
}

void Printers::PreparePrinter() const {
  if (printer_) return;
  if (current_ == kSaveAsPdf) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setPageLayout(QPageLayout(
        QPageSize(QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(kPdfMarginMillimetres, kPdfMarginMillimetres, kPdfMarginMillimetres, kPdfMarginMillimetres),
        QPageLayout::Millimeter));
  } else {
    printer_ = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(current_), QPrinter::HighResolution);
  }
  printer_->setFullPage(false);  // the origin is the printable area's top-left
}

double Printers::UnitsPerDevicePixel() const {
  PreparePrinter();
  const double millimetres = kMillimetresPerInch / printer_->resolution();
  return unit_ == PageUnit::Millimetres ? millimetres : millimetres / 10.0;
}

double Printers::CurrentX() const { return x_ * UnitsPerDevicePixel(); }
double Printers::CurrentY() const { return y_ * UnitsPerDevicePixel(); }
void Printers::SetCurrentX(double x) { x_ = DevicePixels(x); }
void Printers::SetCurrentY(double y) { y_ = DevicePixels(y); }

double Printers::ScaleWidth() const {
  PreparePrinter();
  return printer_->pageLayout().paintRectPixels(printer_->resolution()).width() * UnitsPerDevicePixel();
}

double Printers::ScaleHeight() const {
  PreparePrinter();
  return printer_->pageLayout().paintRectPixels(printer_->resolution()).height() * UnitsPerDevicePixel();
}

double Printers::TextHeight() const {
  PreparePrinter();
  return QFontMetricsF(PrinterFont(), printer_.get()).lineSpacing() * UnitsPerDevicePixel();
}

double Printers::PictureWidth(const QImage& picture) const {
  PreparePrinter();
  return picture.width() * printer_->resolution() / kPicturePixelsPerInch * UnitsPerDevicePixel();
}

double Printers::PictureHeight(const QImage& picture) const {
  PreparePrinter();
  return picture.height() * printer_->resolution() / kPicturePixelsPerInch * UnitsPerDevicePixel();
}

bool Printers::EnsureDocument() {
  if (painter_) return !failed_;
  PreparePrinter();
  lastError_.clear();
  failed_ = false;
  printer_->setDocName(docName_);
  if (current_ == kSaveAsPdf) {
    if (!QDir().mkpath(pdfFolder_)) {
      lastError_ = QStringLiteral("cannot create the folder %1 for \"%2\"").arg(pdfFolder_, kSaveAsPdf);
      failed_ = true;
    }
    ++pdfJobs_;
    pdfPath_ = QDir(pdfFolder_)
                   .filePath(QStringLiteral("quillon-%1-%2.pdf")
                                 .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")))
                                 .arg(pdfJobs_));
    printer_->setOutputFileName(pdfPath_);
  }
  painter_ = std::make_unique<QPainter>();
  if (!failed_ && !painter_->begin(printer_.get())) {
    lastError_ = current_ == kSaveAsPdf ? QStringLiteral("cannot write %1").arg(pdfPath_)
                                        : QStringLiteral("the printer \"%1\" cannot start a document").arg(current_);
    failed_ = true;
  }
  if (failed_) return false;
  painter_->setFont(PrinterFont());
  painter_->setPen(Qt::black);
  painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter_->setRenderHint(QPainter::LosslessImageRendering, true);
  page_ = 1;
  return true;
}

void Printers::Print(const QString& text) {
  if (!EnsureDocument()) return;
  const QFontMetricsF metrics(painter_->font(), printer_.get());
  const double lineHeight = metrics.lineSpacing();
  const double pageHeight = printer_->pageLayout().paintRectPixels(printer_->resolution()).height();
  QString normalised = text;
  normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
  for (const QString& line : normalised.split(QLatin1Char('\n'))) {
    if (y_ > 0 && y_ + lineHeight > pageHeight) NewPage();
    if (!line.isEmpty()) painter_->drawText(QPointF(x_, y_ + metrics.ascent()), line);
    x_ = 0;
    y_ += lineHeight;
  }
}

void Printers::PaintPicture(const QImage& picture, double x, double y) {
  if (picture.isNull() || !EnsureDocument()) return;
  const double scale = printer_->resolution() / kPicturePixelsPerInch;
  painter_->drawImage(QRectF(DevicePixels(x), DevicePixels(y), picture.width() * scale, picture.height() * scale),
                      picture);
}

void Printers::NewPage() {
  if (!EnsureDocument()) return;
  printer_->newPage();
  ++page_;
  x_ = 0;
  y_ = 0;
}

bool Printers::EndDoc() {
  x_ = 0;
  y_ = 0;
  page_ = 0;
  if (!painter_) return true;
  const bool wasFailed = failed_;
  const bool ended = painter_->isActive() ? painter_->end() : false;
  painter_.reset();
  failed_ = false;
  if (wasFailed) return false;
  if (!ended) {
    lastError_ = QStringLiteral("the printer \"%1\" could not finish the document").arg(current_);
    return false;
  }
  ++jobsSent_;
  if (current_ == kSaveAsPdf) {
    if (!QFileInfo(pdfPath_).isFile()) {
      lastError_ = QStringLiteral("cannot write %1").arg(pdfPath_);
      return false;
    }
    lastPdfPath_ = pdfPath_;
    std::fprintf(stdout, "%s\n", QDir::toNativeSeparators(pdfPath_).toLocal8Bit().constData());
    std::fflush(stdout);
  }
  return true;
}

}  // namespace platform
