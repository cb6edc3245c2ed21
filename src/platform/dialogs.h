#pragma once
// The one seam through which the program talks to the user in message boxes
// and ends itself. Tests put a scripted implementation in its place.
#include <QString>

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

// Real message boxes; ending flushes the standard streams and exits.
class WindowDialogs : public Dialogs {
 public:
  void Ok(const QString& text, const QString& title) override;
  bool YesNo(const QString& text, const QString& title) override;
  void EndProgram(int status) override;
};

// For the command-line forms: messages go to stderr, questions are answered
// No, ending exits.
class ConsoleDialogs : public Dialogs {
 public:
  void Ok(const QString& text, const QString& title) override;
  bool YesNo(const QString& text, const QString& title) override;
  void EndProgram(int status) override;
};

}  // namespace platform
