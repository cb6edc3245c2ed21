#pragma once
// A message seam for tests: records every message, answers Yes/No questions
// from a script, and records a request to end the program instead of ending.
#include "platform/dialogs.h"

#include <QStringList>

#include <gtest/gtest.h>

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
  };

  void Ok(const QString& text, const QString& title) override {
    shown.push_back({text, title});
    if (onShow) onShow(shown.back());
  }
  bool YesNo(const QString& text, const QString& title) override {  // fails the test when unscripted
    shown.push_back({text, title});
    if (answers.empty()) ADD_FAILURE() << "unexpected question: " << text.toStdString();
    const bool answer = !answers.empty() && answers.front();
    if (!answers.empty()) answers.pop_front();
    return answer;
  }
  void EndProgram(int status) override {
    EXPECT_FALSE(endStatus.has_value()) << "the program was ended twice";
    endStatus = status;
  }
  // The texts shown since the last call, which forgets them.
  QStringList Take() {
    QStringList texts;
    for (const Shown& s : shown) texts << s.text;
    shown.clear();
    return texts;
  }

  std::vector<Shown> shown;
  std::deque<bool> answers;  // true = Yes
  std::optional<int> endStatus;
  std::function<void(const Shown&)> onShow;  // runs while a message is up
};

}  // namespace test_support
