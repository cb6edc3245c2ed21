#include "window/message_boxes.h"

#include <QMessageBox>

namespace window {

void MessageBoxes::Ok(const QString& text, const QString& title) {
  QMessageBox::information(nullptr, title, text, QMessageBox::Ok);
}

bool MessageBoxes::YesNo(const QString& text, const QString& title) {
  return QMessageBox::question(nullptr, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
         QMessageBox::Yes;
}

}  // namespace window
