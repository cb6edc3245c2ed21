#pragma once
// The message seam as the window shows it: real message boxes.
#include "platform/dialogs.h"

namespace window {

class MessageBoxes : public platform::Dialogs {
 public:
  void Ok(const QString& text, const QString& title) override;
  bool YesNo(const QString& text, const QString& title) override;
  void EndProgram(int status) override { platform::ExitNow(status); }
};

}  // namespace window
