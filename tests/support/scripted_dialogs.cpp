#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace test_support {

void ScriptedDialogs::Ok(const QString& text, const QString& title) {
  shown.push_back({text, title, false});
  if (onShow) onShow(shown.back());
}

bool ScriptedDialogs::YesNo(const QString& text, const QString& title) {
  shown.push_back({text, title, true});
  if (answers.empty()) {
    ADD_FAILURE() << "unexpected question: " << text.toStdString();
    return false;
  }
  const bool answer = answers.front();
  answers.pop_front();
  return answer;
}

void ScriptedDialogs::EndProgram(int status) {
  EXPECT_FALSE(endStatus.has_value()) << "the program was ended twice";
  endStatus = status;
}

}  // namespace test_support
