#include "platform/dialogs.h"

#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <utility>

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

QString ConsoleLine(const QString& text) {
  QStringList parts;
  for (const QString& part : text.split(QStringLiteral("\r\n")))
    if (!part.trimmed().isEmpty()) parts << part.trimmed();
  const QString joined = parts.join(QLatin1Char(' '));
  QString line;
  line.reserve(joined.size());
  for (const QChar c : joined) {
    if (c.category() != QChar::Other_Control) {
      line += c;
    } else if (c == QLatin1Char('\n')) {
      line += QStringLiteral("\\n");
    } else if (c == QLatin1Char('\r')) {
      line += QStringLiteral("\\r");
    } else if (c == QLatin1Char('\t')) {
      line += QStringLiteral("\\t");
    } else {
      line += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
    }
  }
  return line;
}

void PrintProblem(const QString& text) {
  std::fprintf(stderr, "quillon: %s\n", ConsoleLine(text).toLocal8Bit().constData());
}

void ConsoleDialogs::Ok(const QString& text, const QString& /*title*/) {
  if (shown_.contains(text)) return;
  shown_.insert(text);
  if (hold_)
    held_ << text;
  else
    PrintProblem(text);
}

QStringList ConsoleDialogs::TakeHeld() { return std::exchange(held_, {}); }

bool ConsoleDialogs::YesNo(const QString& text, const QString& title) {
  Ok(text + QStringLiteral(" (answered No)"), title);
  return false;
}

void ConsoleDialogs::EndProgram(int status) { ExitNow(status); }

}  // namespace platform
