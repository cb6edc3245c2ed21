#include "platform/cups_queues.h"

#include "platform/dialogs.h"
#include "platform/interruption.h"

#include <QPageSize>
#include <QSizeF>

#include <cerrno>
#include <cstring>

#include <dlfcn.h>
#include <sys/socket.h>

namespace platform {

namespace {

// A wait for CUPS that has lasted this long goes on only while the run has
// not been interrupted (after a signal, the job of the lines printed before
// it still goes to a scheduler that answers).
constexpr double kCupsPatienceSeconds = 0.5;
int KeepWaiting(http_t*, void*) { return Interrupted() ? 0 : 1; }

// A number of hundredths of a millimetre in a media collection (0 if absent).
double Hundredths(ipp_t* collection, const char* name) {
  ipp_attribute_t* attr = collection ? Cups().ippFindAttribute(collection, name, IPP_TAG_INTEGER) : nullptr;
  return attr ? Cups().ippGetInteger(attr, 0) / 100.0 : 0;
}

}  // namespace

const CupsLibrary& Cups() {
  static const CupsLibrary library = [] {
    CupsLibrary l;
    void* handle = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
      l.problem = QStringLiteral("the CUPS library cannot be loaded: %1").arg(QString::fromLocal8Bit(dlerror()));
      return l;
    }
#define QUILLON_CUPS_LOAD(name)                                                  \
  l.name = reinterpret_cast<decltype(l.name)>(dlsym(handle, #name));             \
  if (!l.name && l.problem.isEmpty())                                            \
    l.problem = QStringLiteral("the CUPS library has no %1").arg(QLatin1String(#name));
    QUILLON_CUPS_FUNCTIONS(QUILLON_CUPS_LOAD)
#undef QUILLON_CUPS_LOAD
    return l;
  }();
  return library;
}

QString CupsReason() {
  return Cups().problem.isEmpty() ? QString::fromUtf8(Cups().cupsLastErrorString()) : Cups().problem;
}

CupsConnection::CupsConnection()
    : http_(Cups().problem.isEmpty() ? Cups().httpConnect2(Cups().cupsServer(), Cups().ippPort(), nullptr, AF_UNSPEC,
                                                          Cups().cupsEncryption(), 1, 30000, nullptr)
                                     : nullptr),
      error_(Cups().problem.isEmpty() ? errno : ENOSYS) {
  if (!http_) return;
  Cups().httpSetTimeout(http_, kCupsPatienceSeconds, KeepWaiting, nullptr);
  watchedBefore_ = WatchConnection(Cups().httpGetFd(http_));
}

CupsConnection::~CupsConnection() {
  if (!http_) return;
  WatchConnection(watchedBefore_);
  Cups().httpClose(http_);
}

QString CupsConnection::Unreachable() const {
  if (!Cups().problem.isEmpty()) return Cups().problem;
  return QStringLiteral("%1 (%2)").arg(QString::fromLocal8Bit(std::strerror(error_)),
                                       EscapeControls(QString::fromUtf8(Cups().cupsServer())));
}

// Why the queue cannot take a job now ("" when it can): it does not exist,
// CUPS does not answer, it refuses jobs or it is disabled (a job would wait).
QString QueueProblem(const QString& queue) {
  const CupsConnection cups;
  if (!cups.get())
    return QStringLiteral("the printer \"%1\" cannot be reached, CUPS does not answer: %2")
        .arg(queue, cups.Unreachable());
  char uri[HTTP_MAX_URI];
  Cups().httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/printers/%s",
                   queue.toUtf8().constData());
  ipp_t* request = Cups().ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
  Cups().ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
  static const char* const kWanted[] = {"printer-state", "printer-is-accepting-jobs", "printer-state-message"};
  Cups().ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 3, nullptr, kWanted);
  ipp_t* answer = Cups().cupsDoRequest(cups.get(), request, "/");  // frees request
  const ipp_status_t status = Cups().cupsLastError();
  QString problem;
  if (status == IPP_STATUS_ERROR_NOT_FOUND) {
    problem = QStringLiteral("the printer \"%1\" does not exist").arg(queue);
  } else if (!answer || status > IPP_STATUS_OK_EVENTS_COMPLETE) {
    problem = QStringLiteral("the printer \"%1\" cannot be reached, CUPS does not answer: %2").arg(queue, CupsReason());
  } else {
    ipp_attribute_t* message = Cups().ippFindAttribute(answer, "printer-state-message", IPP_TAG_TEXT);
    const QString text = message ? QString::fromUtf8(Cups().ippGetString(message, 0, nullptr)) : QString();
    const QString reason = text.isEmpty() ? QString() : QStringLiteral(": ") + text;
    ipp_attribute_t* accepting = Cups().ippFindAttribute(answer, "printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
    ipp_attribute_t* state = Cups().ippFindAttribute(answer, "printer-state", IPP_TAG_ENUM);
    if (accepting && !Cups().ippGetBoolean(accepting, 0))
      problem = QStringLiteral("the printer \"%1\" is not accepting jobs%2").arg(queue, reason);
    else if (state && Cups().ippGetInteger(state, 0) == IPP_PSTATE_STOPPED)
      problem = QStringLiteral("the printer \"%1\" is disabled (paused)%2").arg(queue, reason);
  }
  Cups().ippDelete(answer);
  return problem;
}

// The queue's default media and its printable area, as the scheduler gives
// them (media-col-default: the driver's default page size and margins, else
// the size of media-default); nothing when CUPS cannot say. Asked over IPP,
// so a remote scheduler answers the same.
std::optional<QPageLayout> QueueMedia(const QString& queue) {
  const CupsConnection cups;
  if (!cups.get()) return std::nullopt;
  char uri[HTTP_MAX_URI];
  Cups().httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/printers/%s",
                   queue.section(QLatin1Char('/'), 0, 0).toUtf8().constData());
  ipp_t* request = Cups().ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
  Cups().ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
  static const char* const kWanted[] = {"media-col-default", "media-default"};
  Cups().ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr, kWanted);
  ipp_t* answer = Cups().cupsDoRequest(cups.get(), request, "/");  // frees request
  ipp_t* media = nullptr;
  if (ipp_attribute_t* col = answer ? Cups().ippFindAttribute(answer, "media-col-default", IPP_TAG_BEGIN_COLLECTION) : nullptr)
    media = Cups().ippGetCollection(col, 0);
  ipp_attribute_t* size = media ? Cups().ippFindAttribute(media, "media-size", IPP_TAG_BEGIN_COLLECTION) : nullptr;
  QSizeF millimetres(Hundredths(size ? Cups().ippGetCollection(size, 0) : nullptr, "x-dimension"),
                     Hundredths(size ? Cups().ippGetCollection(size, 0) : nullptr, "y-dimension"));
  ipp_attribute_t* name = answer ? Cups().ippFindAttribute(answer, "media-default", IPP_TAG_KEYWORD) : nullptr;
  if (millimetres.isEmpty() && name) {
    if (const pwg_media_t* pwg = Cups().pwgMediaForPWG(Cups().ippGetString(name, 0, nullptr)))
      millimetres = QSizeF(pwg->width / 100.0, pwg->length / 100.0);
  }
  std::optional<QPageLayout> layout;
  if (!millimetres.isEmpty()) {
    const QMarginsF margins(Hundredths(media, "media-left-margin"), Hundredths(media, "media-top-margin"),
                            Hundredths(media, "media-right-margin"), Hundredths(media, "media-bottom-margin"));
    const QString id = name ? QString::fromUtf8(Cups().ippGetString(name, 0, nullptr)) : QString();
    layout = QPageLayout(QPageSize(millimetres, QPageSize::Millimeter, id, QPageSize::ExactMatch),
                         QPageLayout::Portrait, margins, QPageLayout::Millimeter);
  }
  Cups().ippDelete(answer);
  return layout;
}

// The system's printers ("queue" or "queue/instance", in CUPS's order) and
// its default ("" for none), in one request to CUPS; Qt's printer list asks
// several times over, and the window's start-up waits for the answer.
std::pair<QStringList, QString> SystemPrinters() {
  const CupsConnection cups;
  if (!cups.get()) return {};
  cups_dest_t* dests = nullptr;
  const int count = Cups().cupsGetDests2(cups.get(), &dests);
  QStringList names;
  QString defaultName;
  for (int i = 0; i < count; ++i) {
    QString name = QString::fromUtf8(dests[i].name);
    if (dests[i].instance) name += QLatin1Char('/') + QString::fromUtf8(dests[i].instance);
    names << name;
    if (dests[i].is_default) defaultName = name;
  }
  Cups().cupsFreeDests(count, dests);
  return {names, defaultName};
}

}  // namespace platform
