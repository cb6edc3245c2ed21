#pragma once
// A message seam for tests: records every message, answers Yes/No questions
// from a script, and records a request to end the program instead of ending.
#include "platform/dialogs.h"

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace test_support {

class ScriptedDialogs : public platform::Dialogs {
 public:
  struct Shown {
    QString text;
    QString title;
    bool question = false;
  };

  void Ok(const QString& text, const QString& title) override;
  bool YesNo(const QString& text, const QString& title) override;  // fails the test when unscripted
  void EndProgram(int status) override;

  std::vector<Shown> shown;
  std::deque<bool> answers;  // true = Yes
  std::optional<int> endStatus;
  std::function<void(const Shown&)> onShow;  // runs while a message is up
};

}  // namespace test_support
