#pragma once
// A drawing as a picture: a white 32-bit image at 96 pixels to the inch with
// the bars filled in black and the texts drawn over them. This is the image
// the preview, the clipboard and PNG files show.
#include "layout/drawing.h"

#include <QImage>

namespace render {

QImage ToImage(const layout::Drawing& drawing);

// One past the rightmost column of image that holds anything but white
// (0 for a blank image): where a picture's ink ends.
int InkRight(const QImage& image);

// Sets the pixels from (left, top) up to, not including, (right, bottom) of a
// 32-bit image to colour, clipped to the image.
void FillPixels(QImage& image, int left, int top, int right, int bottom, QRgb colour);

}  // namespace render
