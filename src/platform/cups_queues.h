#pragma once
// The program's seam to CUPS: the queues, whether one can take a job now,
// and its default media. Each request goes over a connection of its own
// that a signal interrupting the run shuts down (platform/interruption.h),
// so a scheduler that stops answering cannot hold a run that was asked to end.
#include <QPageLayout>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

#include <cups/cups.h>

namespace platform {

// libcups, loaded on first use: the forms of the command line that print
// nothing (--export, --help) start without it and the libraries it brings.
#define QUILLON_CUPS_FUNCTIONS(X) \
  X(ippFindAttribute) \
  X(ippGetString) \
  X(ippGetCollection) \
  X(ippNewRequest) \
  X(ippGetInteger) \
  X(ippDelete) \
  X(ippAddStrings) \
  X(ippAddString) \
  X(httpAssembleURIf) \
  X(cupsServer) \
  X(cupsDoRequest) \
  X(ippPort) \
  X(ippGetBoolean) \
  X(httpSetTimeout) \
  X(httpGetFd) \
  X(httpConnect2) \
  X(httpClose) \
  X(cupsWriteRequestData) \
  X(cupsStartDocument) \
  X(cupsLastErrorString) \
  X(cupsLastError) \
  X(cupsGetDests2) \
  X(cupsFreeDests) \
  X(cupsFinishDocument) \
  X(cupsEncryption) \
  X(cupsCreateJob) \
  X(cupsCancelJob2) \
  X(pwgMediaForPWG)
struct CupsLibrary {
#define QUILLON_CUPS_POINTER(name) decltype(&::name) name = nullptr;
  QUILLON_CUPS_FUNCTIONS(QUILLON_CUPS_POINTER)
#undef QUILLON_CUPS_POINTER
  QString problem;  // why it could not be loaded ("" when it was)
};
const CupsLibrary& Cups();

class CupsConnection {
 public:
  CupsConnection();
  ~CupsConnection();
  CupsConnection(const CupsConnection&) = delete;
  CupsConnection& operator=(const CupsConnection&) = delete;
  http_t* get() const { return http_; }  // null when the scheduler cannot be reached
  QString Unreachable() const;           // why not, with the server's name

 private:
  http_t* http_;
  int error_;
  int watchedBefore_ = -1;  // the connection a signal shut down before this one
};

// CUPS's last error, as its library words it.
QString CupsReason();

// Why the queue cannot take a job now ("" when it can): it does not exist,
// CUPS does not answer, it refuses jobs or it is disabled (a job would wait).
QString QueueProblem(const QString& queue);

// The queue's default media and its printable area, as the scheduler gives
// them (media-col-default: the driver's default page size and margins, else
// the size of media-default); nothing when CUPS cannot say. Asked over IPP,
// so a remote scheduler answers the same.
std::optional<QPageLayout> QueueMedia(const QString& queue);

// The system's printers ("queue" or "queue/instance", in CUPS's order) and
// its default ("" for none), in one request.
std::pair<QStringList, QString> SystemPrinters();

}  // namespace platform
