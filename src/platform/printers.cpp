#include "platform/printers.h"

#include "platform/dialogs.h"
#include "platform/interruption.h"
#include "platform/picture_file.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cups/cups.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr double kPicturePixelsPerInch = 96.0;
// "Save as PDF" pages: A4 with the quarter-inch margins of a typical printer.
constexpr double kPdfMarginMillimetres = 6.35;
// Device pixels per inch of the rendered documents.
constexpr int kResolution = 1200;
// Beyond this many rectangles a picture is painted as an image.
constexpr size_t kMostRectangles = 600;

// The printers' font: nothing in the program sets it.
QFont PrinterFont() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(10);
  return font;
}

QString CupsReason() { return QString::fromUtf8(cupsLastErrorString()); }

// A wait for CUPS that has lasted this long goes on only while the run has
// not been interrupted.
constexpr double kCupsPatienceSeconds = 0.5;
int KeepWaiting(http_t*, void*) { return Interrupted() ? 0 : 1; }

// A connection to the scheduler of its own, so that a signal can end a wait
// for an answer that does not come.
class CupsConnection {
 public:
  CupsConnection()
      : http_(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 30000, nullptr)),
        error_(errno) {
    if (http_) httpSetTimeout(http_, kCupsPatienceSeconds, KeepWaiting, nullptr);
  }
  ~CupsConnection() {
    if (http_) httpClose(http_);
  }
  CupsConnection(const CupsConnection&) = delete;
  CupsConnection& operator=(const CupsConnection&) = delete;
  http_t* get() const { return http_; }
  QString Unreachable() const {
    return QStringLiteral("%1 (%2)").arg(QString::fromLocal8Bit(std::strerror(error_)),
                                         EscapeControls(QString::fromUtf8(cupsServer())));
  }

 private:
  http_t* http_;
  int error_;
};

// Why the queue cannot take a job now ("" when it can): it does not exist,
// CUPS does not answer, it refuses jobs or it is disabled (a job would wait).
QString QueueProblem(const QString& queue) {
  const CupsConnection cups;
  if (!cups.get())
    return QStringLiteral("the printer \"%1\" cannot be reached, CUPS does not answer: %2").arg(queue, cups.Unreachable());
  char uri[HTTP_MAX_URI];
  httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/printers/%s",
                   queue.toUtf8().constData());
  ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
  static const char* const kWanted[] = {"printer-state", "printer-is-accepting-jobs", "printer-state-message"};
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 3, nullptr, kWanted);
  ipp_t* answer = cupsDoRequest(cups.get(), request, "/");  // frees request
  const ipp_status_t status = cupsLastError();
  QString problem;
  if (status == IPP_STATUS_ERROR_NOT_FOUND) {
    problem = QStringLiteral("the printer \"%1\" does not exist").arg(queue);
  } else if (!answer || status > IPP_STATUS_OK_EVENTS_COMPLETE) {
    problem = QStringLiteral("the printer \"%1\" cannot be reached, CUPS does not answer: %2").arg(queue, CupsReason());
  } else {
    ipp_attribute_t* message = ippFindAttribute(answer, "printer-state-message", IPP_TAG_TEXT);
    const QString text = message ? QString::fromUtf8(ippGetString(message, 0, nullptr)) : QString();
    const QString reason = text.isEmpty() ? QString() : QStringLiteral(": ") + text;
    ipp_attribute_t* accepting = ippFindAttribute(answer, "printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
    ipp_attribute_t* state = ippFindAttribute(answer, "printer-state", IPP_TAG_ENUM);
    if (accepting && !ippGetBoolean(accepting, 0))
      problem = QStringLiteral("the printer \"%1\" is not accepting jobs%2").arg(queue, reason);
    else if (state && ippGetInteger(state, 0) == IPP_PSTATE_STOPPED)
      problem = QStringLiteral("the printer \"%1\" is disabled (paused)%2").arg(queue, reason);
  }
  ippDelete(answer);
  return problem;
}

// A number of hundredths of a millimetre in a media collection (0 if absent).
double Hundredths(ipp_t* collection, const char* name) {
  ipp_attribute_t* attr = collection ? ippFindAttribute(collection, name, IPP_TAG_INTEGER) : nullptr;
  return attr ? ippGetInteger(attr, 0) / 100.0 : 0;
}

// The queue's default media and its printable area, as the scheduler gives
// them (media-col-default: the driver's default page size and margins, else
// the size of media-default); nothing when CUPS cannot say. Asked over IPP,
// so a remote scheduler answers the same.
std::optional<QPageLayout> QueueMedia(const QString& queue) {
  const CupsConnection cups;
  if (!cups.get()) return std::nullopt;
  char uri[HTTP_MAX_URI];
  httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/printers/%s",
                   queue.section(QLatin1Char('/'), 0, 0).toUtf8().constData());
  ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
  static const char* const kWanted[] = {"media-col-default", "media-default"};
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr, kWanted);
  ipp_t* answer = cupsDoRequest(cups.get(), request, "/");  // frees request
  ipp_t* media = nullptr;
  if (ipp_attribute_t* col = answer ? ippFindAttribute(answer, "media-col-default", IPP_TAG_BEGIN_COLLECTION) : nullptr)
    media = ippGetCollection(col, 0);
  ipp_attribute_t* size = media ? ippFindAttribute(media, "media-size", IPP_TAG_BEGIN_COLLECTION) : nullptr;
  QSizeF millimetres(Hundredths(size ? ippGetCollection(size, 0) : nullptr, "x-dimension"),
                     Hundredths(size ? ippGetCollection(size, 0) : nullptr, "y-dimension"));
  ipp_attribute_t* name = answer ? ippFindAttribute(answer, "media-default", IPP_TAG_KEYWORD) : nullptr;
  if (millimetres.isEmpty() && name) {
    if (const pwg_media_t* pwg = pwgMediaForPWG(ippGetString(name, 0, nullptr)))
      millimetres = QSizeF(pwg->width / 100.0, pwg->length / 100.0);
  }
  std::optional<QPageLayout> layout;
  if (!millimetres.isEmpty()) {
    const QMarginsF margins(Hundredths(media, "media-left-margin"), Hundredths(media, "media-top-margin"),
                            Hundredths(media, "media-right-margin"), Hundredths(media, "media-bottom-margin"));
    const QString id = name ? QString::fromUtf8(ippGetString(name, 0, nullptr)) : QString();
    layout = QPageLayout(QPageSize(millimetres, QPageSize::Millimeter, id, QPageSize::ExactMatch),
                         QPageLayout::Portrait, margins, QPageLayout::Millimeter);
  }
  ippDelete(answer);
  return layout;
}

// The system's printers ("queue" or "queue/instance", in CUPS's order) and
// its default ("" for none), in one request to CUPS; Qt's printer list asks
// several times over, and the window's start-up waits for the answer.
std::pair<QStringList, QString> SystemPrinters() {
  const CupsConnection cups;
  if (!cups.get()) return {};
  cups_dest_t* dests = nullptr;
  const int count = cupsGetDests2(cups.get(), &dests);
  QStringList names;
  QString defaultName;
  for (int i = 0; i < count; ++i) {
    QString name = QString::fromUtf8(dests[i].name);
    if (dests[i].instance) name += QLatin1Char('/') + QString::fromUtf8(dests[i].instance);
    names << name;
    if (dests[i].is_default) defaultName = name;
  }
  cupsFreeDests(count, dests);
  return {names, defaultName};
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

void Printers::SelectPrinter(const QString& name) {
  if (painter_) return;
  const QStringList names = PrinterNames();
  const auto match = std::find(names.begin(), names.end(), name);
  if (match == names.end() || *match == current_) return;
  current_ = *match;
  layout_.reset();
}

const QPageLayout& Printers::Layout() const {
  if (layout_) return *layout_;
  if (current_ == kSaveAsPdf) {
    layout_ = std::make_unique<QPageLayout>(
        QPageSize(QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(kPdfMarginMillimetres, kPdfMarginMillimetres, kPdfMarginMillimetres, kPdfMarginMillimetres),
        QPageLayout::Millimeter);
  } else if (std::optional<QPageLayout> media = QueueMedia(current_)) {
    layout_ = std::make_unique<QPageLayout>(*media);
  } else {
    // CUPS cannot say (the job will then fail and say why): Qt's guess.
    layout_ = std::make_unique<QPageLayout>(
        QPrinter(QPrinterInfo::printerInfo(current_), QPrinter::HighResolution).pageLayout());
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

double Printers::PictureWidth(const QImage& picture) const {
  return picture.width() * kResolution / kPicturePixelsPerInch * UnitsPerDevicePixel();
}

double Printers::PictureHeight(const QImage& picture) const {
  return picture.height() * kResolution / kPicturePixelsPerInch * UnitsPerDevicePixel();
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
  if (!painter_->begin(writer_.get()))
    return Fail(QStringLiteral("the printer \"%1\" cannot start a document").arg(current_));
  painter_->setFont(PrinterFont());
  const QFontMetricsF metrics(painter_->font(), writer_.get());
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

void Printers::PaintPicture(const QImage& picture, double x, double y) {
  if (picture.isNull() || !EnsureDocument()) return;
  const double scale = kResolution / kPicturePixelsPerInch;
  // Bars go down as filled rectangles: sharp at any printer resolution, and
  // far smaller and quicker to write than an image. Nothing is painted for
  // white: the paper is white, and nothing is printed under a picture. A
  // picture of many small runs (smoothed text) stays an image.
  StartPendingPage();
  painter_->setTransform(QTransform(scale, 0, 0, scale, DevicePixels(x), DevicePixels(y)));
  if (!PaintRectangles(*painter_, picture, kMostRectangles, false)) painter_->drawImage(0, 0, picture);
  painter_->resetTransform();
}

// A new page is only begun by what is drawn on it: blank lines that run
// past the bottom of the last page (a label's, often) leave no blank page.
void Printers::StartPendingPage() {
  if (!pagePending_) return;
  pagePending_ = false;
  writer_->newPage();
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
  const int job = cupsCreateJob(cups.get(), queue.constData(), title.constData(), 0, nullptr);
  if (job == 0) return Fail(SubmitFailure(CupsReason()));
  bool sent = cupsStartDocument(cups.get(), queue.constData(), job, title.constData(), CUPS_FORMAT_PDF, 1) ==
              HTTP_STATUS_CONTINUE;
  QByteArray block;
  while (sent && !(block = spool_->read(64 * 1024)).isEmpty())
    sent = cupsWriteRequestData(cups.get(), block.constData(), static_cast<size_t>(block.size())) ==
           HTTP_STATUS_CONTINUE;
  sent = sent && spool_->atEnd();
  // Finishing also reads the scheduler's answer after a failed write.
  sent = cupsFinishDocument(cups.get(), queue.constData()) == IPP_STATUS_OK && sent;
  if (!sent) {
    const QString reason = CupsReason();
    const CupsConnection cancel;
    cupsCancelJob2(cancel.get(), queue.constData(), job, 1);
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
