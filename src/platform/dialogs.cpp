#include "platform/dialogs.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace platform {

void ExitNow(int status) {
  std::fflush(nullptr);
  std::_Exit(status);
}


QString EscapeControls(const QString& text) {
  QString shown;
  shown.reserve(text.size());
  for (const QChar c : text) {
    const QChar::Category category = c.category();
    // Format and bidirectional controls (U+202E, U+2066..U+2069) and the
    // Unicode line breaks would let a name disguise the message around it.
    if (category == QChar::Other_Format || category == QChar::Separator_Line || category == QChar::Separator_Paragraph)
      shown += QStringLiteral("\\u{%1}").arg(c.unicode(), 0, 16);
    else if (category != QChar::Other_Control)
      shown += c;
    else if (c == QLatin1Char('\n'))
      shown += QStringLiteral("\\n");
    else if (c == QLatin1Char('\r'))
      shown += QStringLiteral("\\r");
    else if (c == QLatin1Char('\t'))
      shown += QStringLiteral("\\t");
    else
      shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
  }
  return shown;
}

QString ConsoleLine(const QString& text) {
  QStringList parts;
  for (const QString& part : text.split(QStringLiteral("\r\n")))
    if (!part.trimmed().isEmpty()) parts << part.trimmed();
  return EscapeControls(parts.join(QLatin1Char(' ')));
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
