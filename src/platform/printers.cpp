#include "platform/printers.h"

#include "platform/cups_queues.h"
#include "platform/dialogs.h"
#include "platform/interruption.h"
#include "render/vector.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <algorithm>
#include <cstdio>
#include <optional>

#include <pwd.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr double kPicturePixelsPerInch = 96.0;
// "Save as PDF" pages: A4 with the quarter-inch margins of a typical printer.
constexpr double kPdfMarginMillimetres = 6.35;
constexpr int kResolution = kDocumentResolution;
constexpr double kPointsPerInch = 72.0;

// The printers' font: nothing in the program sets it.
QFont PrinterFont() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(10);
  return font;
}

}  // namespace

QStringList PrinterNames() {
  QStringList names = SystemPrinters().first;
  names.removeAll(kSaveAsPdf);  // the built-in one always comes last, once
  names << kSaveAsPdf;
  return names;
}

QString DefaultPrinterName() {
  const QString name = SystemPrinters().second;
  return name.isEmpty() ? kSaveAsPdf : name;
}

QString HomeFolder() {
  const QString home = qEnvironmentVariable("HOME");
  if (!home.isEmpty()) return home;
  const passwd* user = getpwuid(getuid());
  return user && user->pw_dir ? QFile::decodeName(user->pw_dir) : QString();
}

QString DefaultPdfFolder() {
  const QString fromEnvironment = qEnvironmentVariable("QUILLON_PDF_DIR");
  if (!fromEnvironment.isEmpty()) return fromEnvironment;
  // Without a home the documents folder would be one at the root.
  if (qEnvironmentVariableIsEmpty("HOME")) return QString();
  QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (documents.isEmpty()) documents = QDir::homePath();
  return QDir(documents).filePath(QStringLiteral("Quillon"));
}

Printers::Printers(QString pdfFolder) : pdfFolder_(std::move(pdfFolder)), current_(DefaultPrinterName()) {}

Printers::~Printers() {
  // A document still open at the end is sent rather than lost.
  if (painter_) EndDoc();
}

void Printers::SetSheetPage(std::optional<QSizeF> points) {
  if (painter_) return;
  sheet_.reset();
  if (points)
    sheet_.emplace(QPageSize(*points, QPageSize::Point, QString(), QPageSize::ExactMatch), QPageLayout::Portrait,
                   QMarginsF(), QPageLayout::Point);
}

void Printers::SelectPrinter(const QString& name) {
  if (painter_) return;
  const QStringList names = PrinterNames();
  const auto match = std::find(names.begin(), names.end(), name);
  if (match == names.end() || *match == current_) return;
  current_ = *match;
  layout_.reset();
}

const QPageLayout& Printers::Layout() const {
  if (sheet_) return *sheet_;
  if (layout_) return *layout_;
  if (current_ == kSaveAsPdf) {
    layout_ = std::make_unique<QPageLayout>(
        QPageSize(QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(kPdfMarginMillimetres, kPdfMarginMillimetres, kPdfMarginMillimetres, kPdfMarginMillimetres),
        QPageLayout::Millimeter);
  } else if (std::optional<QPageLayout> media = QueueMedia(current_)) {
    layout_ = std::make_unique<QPageLayout>(*media);
  } else {
    // CUPS cannot say (the job will then fail and say why): A4, no margins.
    layout_ = std::make_unique<QPageLayout>(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
  }
  return *layout_;
}

QPdfWriter& Printers::Measure() const {
  if (!measure_) {
    static QBuffer nowhere;  // a device nothing is ever written to
    measure_ = std::make_unique<QPdfWriter>(&nowhere);
    measure_->setResolution(kResolution);
  }
  return *measure_;
}

double Printers::UnitsPerDevicePixel() const {
  const double millimetres = kMillimetresPerInch / kResolution;
  return unit_ == PageUnit::Millimetres ? millimetres : millimetres / 10.0;
}

double Printers::CurrentX() const { return x_ * UnitsPerDevicePixel(); }
double Printers::CurrentY() const { return y_ * UnitsPerDevicePixel(); }
void Printers::SetCurrentX(double x) { x_ = DevicePixels(x); }
void Printers::SetCurrentY(double y) { y_ = DevicePixels(y); }

double Printers::ScaleWidth() const { return Layout().paintRectPixels(kResolution).width() * UnitsPerDevicePixel(); }

double Printers::ScaleHeight() const {
  return Layout().paintRectPixels(kResolution).height() * UnitsPerDevicePixel();
}

double Printers::TextHeight() const {
  return QFontMetricsF(PrinterFont(), &Measure()).lineSpacing() * UnitsPerDevicePixel();
}

double Printers::PictureWidth(int pixels) const {
  return pixels * kResolution / kPicturePixelsPerInch * UnitsPerDevicePixel();
}

bool Printers::Fail(const QString& why) {
  lastError_ = why;
  failed_ = true;
  return false;
}

QString Printers::OpenPdf(OutputFile& output) const {
  if (pdfFile_.isEmpty() && pdfFolder_.isEmpty())
    return QStringLiteral("cannot write the PDF: there is no home folder (HOME is not set and the password database "
                          "has none for this user); set QUILLON_PDF_DIR");
  const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
  if (!pdfFile_.isEmpty() ? output.Open(pdfFile_, pdfReplace_)
                          : output.OpenNumbered(pdfFolder_, QStringLiteral("quillon-") + stamp, QStringLiteral(".pdf")))
    return {};
  return QStringLiteral("cannot write the PDF %1: %2").arg(pdfFile_.isEmpty() ? pdfFolder_ : pdfFile_, output.Error());
}

QString Printers::DestinationProblem() const {
  if (preview_) return {};
  if (current_ != kSaveAsPdf) return QueueProblem(current_);
  OutputFile probe;  // abandoned at once: it leaves nothing behind
  return OpenPdf(probe);
}

bool Printers::EnsureDocument() {
  if (painter_) return !failed_;
  lastError_.clear();
  failed_ = false;
  painter_ = std::make_unique<QPainter>();
  QIODevice* device = nullptr;
  if (preview_) {
    device_ = preview_;
    device_->setPageLayout(Layout());
    if (!painter_->begin(device_)) return Fail(QStringLiteral("the preview cannot start a document"));
    return StartPainting();
  }
  if (current_ == kSaveAsPdf) {
    output_ = std::make_unique<OutputFile>();
    pdfTarget_ = pdfFile_.isEmpty() ? pdfFolder_ : pdfFile_;
    const QString problem = OpenPdf(*output_);
    pdfFile_.clear();
    if (!problem.isEmpty()) return Fail(problem);
    device = output_->Device();
  } else {
    // Refused before rendering: a queue that cannot take the job says so now.
    const QString problem = QueueProblem(current_);
    if (!problem.isEmpty()) return Fail(problem);
    spool_ = std::make_unique<QTemporaryFile>(QDir(QDir::tempPath()).filePath(QStringLiteral("quillon-job-XXXXXX")));
    if (!spool_->open()) return Fail(QStringLiteral("cannot make the print job: %1").arg(spool_->errorString()));
    device = spool_.get();
  }
  writer_ = std::make_unique<QPdfWriter>(device);
  writer_->setResolution(kResolution);
  writer_->setPageLayout(Layout());
  writer_->setTitle(docName_);
  writer_->setCreator(QStringLiteral("Quillon"));
  device_ = writer_.get();
  if (!painter_->begin(writer_.get()))
    return Fail(QStringLiteral("the printer \"%1\" cannot start a document").arg(current_));
  return StartPainting();
}

bool Printers::StartPainting() {
  painter_->setFont(PrinterFont());
  const QFontMetricsF metrics(painter_->font(), device_);
  lineHeight_ = metrics.lineSpacing();
  ascent_ = metrics.ascent();
  pageHeight_ = Layout().paintRectPixels(kResolution).height();
  painter_->setPen(Qt::black);
  painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter_->setRenderHint(QPainter::LosslessImageRendering, true);
  page_ = 1;
  return true;
}

void Printers::Print(const QString& text) {
  if (!EnsureDocument()) return;
  QString normalised = text;
  normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
  for (const QString& line : normalised.split(QLatin1Char('\n'))) {
    if (y_ > 0 && y_ + lineHeight_ > pageHeight_) NewPage();
    // Blanks only move the position (the file run prints many such lines).
    if (std::any_of(line.begin(), line.end(), [](QChar c) { return !c.isSpace(); })) {
      StartPendingPage();
      painter_->setPen(Qt::black);  // pictures leave the painter without one
      painter_->drawText(QPointF(x_, y_ + ascent_), line);
    }
    x_ = 0;
    y_ += lineHeight_;
  }
}

void Printers::Paint(const layout::Drawing& drawing, double x, double y) {
  if (drawing.size.isEmpty() || !EnsureDocument()) return;
  const double scale = kResolution / kPicturePixelsPerInch;
  // Nothing is painted for white: the paper is white, and nothing is printed
  // under a picture.
  StartPendingPage();
  painter_->setTransform(QTransform(scale, 0, 0, scale, DevicePixels(x), DevicePixels(y)));
  render::Paint(*painter_, drawing, false);
  painter_->resetTransform();
}

void Printers::PaintInto(const layout::Drawing& drawing, const QRectF& points, bool turned) {
  if (drawing.size.isEmpty() || !EnsureDocument()) return;
  const double perPoint = kResolution / kPointsPerInch;
  const QRectF box(points.topLeft() * perPoint, points.size() * perPoint);
  StartPendingPage();
  // Picture pixels to device pixels; turned, x runs up the box and y across it.
  if (turned) {
    const double scale = box.width() / drawing.size.height();
    painter_->setTransform(QTransform(0, -scale, scale, 0, box.left(), box.bottom()));
  } else {
    const double scale = box.width() / drawing.size.width();
    painter_->setTransform(QTransform(scale, 0, 0, scale, box.left(), box.top()));
  }
  render::Paint(*painter_, drawing, false);
  painter_->resetTransform();
}

void Printers::Outline(const QRectF& points, double radius, bool round) {
  if (!EnsureDocument()) return;
  const double perPoint = kResolution / kPointsPerInch;
  const QRectF box(points.topLeft() * perPoint, points.size() * perPoint);
  StartPendingPage();
  painter_->save();
  painter_->setPen(QPen(Qt::black, 0.25 * perPoint));  // a quarter point
  painter_->setBrush(Qt::NoBrush);
  if (round)
    painter_->drawEllipse(box);
  else
    painter_->drawRoundedRect(box, radius * perPoint, radius * perPoint);
  painter_->restore();
}

// A new page is only begun by what is drawn on it: blank lines that run
// past the bottom of the last page (a label's, often) leave no blank page.
void Printers::StartPendingPage() {
  if (!pagePending_) return;
  pagePending_ = false;
  device_->newPage();
}

void Printers::NewPage() {
  if (!EnsureDocument()) return;
  StartPendingPage();
  pagePending_ = true;
  ++page_;
  x_ = 0;
  y_ = 0;
}

// Why a job could not be sent: the queue's own state where it has one (a
// queue disabled or deleted meanwhile), else what CUPS said.
// The scheduler answered when the document began, so one that does not now
// has stopped.
QString Printers::SubmitFailure(const QString& reason) const {
  if (Interrupted()) return QStringLiteral("the printer \"%1\" did not get the whole job: interrupted").arg(current_);
  const QString problem = QueueProblem(current_);
  if (problem.contains(QLatin1String("CUPS does not answer")))
    return QStringLiteral("the printer \"%1\" did not take the job: CUPS stopped answering").arg(current_);
  if (!problem.isEmpty()) return problem;
  return QStringLiteral("the printer \"%1\" did not take the job: %2").arg(current_, reason);
}

// Sends the rendered document to the queue as one job; a job that cannot be
// completed is cancelled, so none is left waiting.
bool Printers::SubmitToQueue() {
  if (!spool_->flush() || spool_->error() != QFileDevice::NoError || !spool_->seek(0))
    return Fail(QStringLiteral("cannot make the print job: %1").arg(spool_->errorString()));
  if (!QueueProblem(current_).isEmpty()) return Fail(SubmitFailure(QString()));
  const CupsConnection cups;
  if (!cups.get())
    return Fail(QStringLiteral("the printer \"%1\" did not take the job: CUPS stopped answering").arg(current_));
  const QByteArray queue = current_.toUtf8(), title = docName_.toUtf8();
  const int job = Cups().cupsCreateJob(cups.get(), queue.constData(), title.constData(), 0, nullptr);
  if (job == 0) return Fail(SubmitFailure(CupsReason()));
  bool sent = Cups().cupsStartDocument(cups.get(), queue.constData(), job, title.constData(), CUPS_FORMAT_PDF, 1) ==
              HTTP_STATUS_CONTINUE;
  QByteArray block;
  while (sent && !(block = spool_->read(64 * 1024)).isEmpty())
    sent = Cups().cupsWriteRequestData(cups.get(), block.constData(), static_cast<size_t>(block.size())) ==
           HTTP_STATUS_CONTINUE;
  sent = sent && spool_->atEnd();
  // Finishing also reads the scheduler's answer after a failed write.
  sent = Cups().cupsFinishDocument(cups.get(), queue.constData()) == IPP_STATUS_OK && sent;
  if (!sent) {
    const QString reason = CupsReason();
    const CupsConnection cancel;
    Cups().cupsCancelJob2(cancel.get(), queue.constData(), job, 1);
    return Fail(SubmitFailure(reason));
  }
  lastJobId_ = QStringLiteral("%1-%2").arg(current_).arg(job);
  return true;
}

bool Printers::EndDoc() {
  x_ = 0;
  y_ = 0;
  page_ = 0;
  pagePending_ = false;
  if (!painter_) return true;
  if (preview_) {
    if (painter_->isActive()) painter_->end();
    painter_.reset();
    failed_ = false;
    return true;
  }
  bool ok = !failed_ && painter_->isActive() && painter_->end();
  if (!failed_ && !ok) Fail(QStringLiteral("the printer \"%1\" could not finish the document").arg(current_));
  painter_.reset();
  writer_.reset();
  failed_ = false;
  if (ok && current_ == kSaveAsPdf) {
    ok = output_->Commit();
    if (ok)
      lastPdfPath_ = output_->FinalPath();
    else
      lastError_ = QStringLiteral("cannot write the PDF %1: %2").arg(pdfTarget_, output_->Error());
  } else if (ok) {
    lastJobId_.clear();
    ok = SubmitToQueue();
    failed_ = false;
  }
  output_.reset();  // abandons an unfinished file
  spool_.reset();
  if (!ok) return false;
  ++jobsSent_;
  // The path goes to stdout (escaped: a name cannot pass for another line),
  // unless the PDF itself went there or to another stream.
  if (current_ == kSaveAsPdf && !WrittenInPlace(lastPdfPath_)) {
    std::fprintf(stdout, "%s\n", EscapeControls(QDir::toNativeSeparators(lastPdfPath_)).toLocal8Bit().constData());
    std::fflush(stdout);
  }
  return true;
}

}  // namespace platform
