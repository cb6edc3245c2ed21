#include "platform/dialogs.h"

#include <QMessageBox>

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {
[[noreturn]] void ExitNow(int status) {
  std::fflush(nullptr);
  std::_Exit(status);
}
}  // namespace

void WindowDialogs::Ok(const QString& text, const QString& title) {
  QMessageBox::information(nullptr, title, text, QMessageBox::Ok);
}

bool WindowDialogs::YesNo(const QString& text, const QString& title) {
  return QMessageBox::question(nullptr, title, text, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

void WindowDialogs::EndProgram(int status) { ExitNow(status); }

void ConsoleDialogs::Ok(const QString& text, const QString& title) {
  QString line = text.trimmed();
  line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  if (!title.isEmpty()) line = title + QStringLiteral(": ") + line;
  std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}

bool ConsoleDialogs::YesNo(const QString& text, const QString& title) {
  Ok(text + QStringLiteral(" (answered No)"), title);
  return false;
}

void ConsoleDialogs::EndProgram(int status) { ExitNow(status); }

}  // namespace platform
