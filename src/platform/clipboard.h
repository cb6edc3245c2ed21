#pragma once
// The system clipboard, for the barcode picture. Qt offers an image as
// image/png and the platform's bitmap formats, so other programs paste it.
#include <QImage>

namespace platform {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  virtual void Clear();
  virtual void SetImage(const QImage& image);
  // What the clipboard holds as an image (null when it holds none).
  virtual QImage Image() const;
};

Clipboard& DefaultClipboard();

}  // namespace platform
