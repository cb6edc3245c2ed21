#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace platform {

void Clipboard::Clear() { QGuiApplication::clipboard()->clear(QClipboard::Clipboard); }

void Clipboard::SetImage(const QImage& image) {
  QGuiApplication::clipboard()->setImage(image, QClipboard::Clipboard);
}

QImage Clipboard::Image() const { return QGuiApplication::clipboard()->image(QClipboard::Clipboard); }

Clipboard& DefaultClipboard() {
  static Clipboard clipboard;
  return clipboard;
}

}  // namespace platform
