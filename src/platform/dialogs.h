#pragma once
// The one seam through which the program talks to the user in message boxes
// and ends itself. Tests put a scripted implementation in its place.
#include <QSet>
#include <QString>
#include <QStringList>

namespace platform {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A message box with only an OK button.
  virtual void Ok(const QString& text, const QString& title) = 0;
  // A Yes/No question; true means Yes.
  virtual bool YesNo(const QString& text, const QString& title) = 0;
  // Ends the program at once. Callers return right after calling it, so a
  // seam that only records the request leaves the program in a sane state.
  virtual void EndProgram(int status) = 0;
};

// Flushes the standard streams and exits with status, at once.
[[noreturn]] void ExitNow(int status);

// For the command-line forms: each message is one line on stderr, prefixed
// "quillon: " (the window title is left out), questions are answered No,
// ending exits. A text already shown is not repeated: a file run over a
// binary file would otherwise print the same message for every line.
// While held, messages are kept instead of printed, so that a caller that
// reports the problem itself can drop them.
class ConsoleDialogs : public Dialogs {
 public:
  void Ok(const QString& text, const QString& title) override;
  bool YesNo(const QString& text, const QString& title) override;
  void EndProgram(int status) override;

  void Hold(bool hold) { hold_ = hold; }
  // The messages kept while held, in order; they count as shown.
  QStringList TakeHeld();

 private:
  bool hold_ = false;
  QStringList held_;
  QSet<QString> shown_;
};

// Text as a one-line message shows it: control characters written as \t,
// \n, \r, others as \xNN; format and bidirectional controls and the Unicode
// line and paragraph separators as \u{202e}.
QString EscapeControls(const QString& text);

// text as one line for a terminal: the paragraphs of a message-box text
// (separated by line breaks) joined by a blank, and every control character
// left escaped: \n, \r, \t, others as \xNN.
QString ConsoleLine(const QString& text);

// Writes "quillon: " and ConsoleLine(text) to stderr.
void PrintProblem(const QString& text);

}  // namespace platform
