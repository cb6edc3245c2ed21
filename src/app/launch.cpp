#include "app/launch.h"

#include "platform/dialogs.h"
#include "platform/printers.h"

#include <QDir>
#include <QFile>

#include <chrono>
#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

namespace app {

namespace {

// Qt wants a private runtime folder and complains on stderr without one.
void EnsureRuntimeDir() {
  if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
  const QByteArray dir = QDir::tempPath().toLocal8Bit() + "/runtime-" + QByteArray::number(getuid());
  mkdir(dir.constData(), 0700);
  struct stat st {};
  if (stat(dir.constData(), &st) == 0 && st.st_uid == getuid() && (st.st_mode & 077) == 0)
    qputenv("XDG_RUNTIME_DIR", dir);
}

void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtFatalMsg) platform::PrintProblem(text);
}

}  // namespace

void FindHome() {
  if (qEnvironmentVariableIsEmpty("HOME"))
    if (const QString home = platform::HomeFolder(); !home.isEmpty()) qputenv("HOME", QFile::encodeName(home));
}

void PrepareProcess() {
  if (qEnvironmentVariableIsEmpty("QUILLON_DEBUG")) qInstallMessageHandler(QuietQtMessages);
  EnsureRuntimeDir();
}

void SayWhen(const char* what) {
  if (qEnvironmentVariableIsEmpty("QUILLON_DEBUG")) return;
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  std::fprintf(stderr, "quillon: %s at %lld ns\n", what,
               static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

}  // namespace app
