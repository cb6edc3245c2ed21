#pragma once
// A finished picture written to a file: PNG, or SVG / PDF when the name ends
// in .svg / .pdf (in any case). All three have the same geometry: one picture
// pixel is 1/96 inch. SVG and PDF are vector drawings: every run of equal
// colour is a filled rectangle (bars become one rectangle each), so a
// document can place the barcode at any resolution without blurred edges.
#include "platform/output_file.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstddef>
#include <vector>

class QPainter;

namespace platform {

enum class PictureFormat { Png, Svg, Pdf };

// The format a file name asks for; PNG unless it ends in .svg or .pdf.
PictureFormat PictureFormatOf(const QString& path);

// The picture encoded in that format ("" when it could not be encoded).
QByteArray EncodePicture(const QImage& picture, PictureFormat format);

// Writes the picture to path (through OutputFile: whole or not at all; "-" is
// standard output). "" when written, else the reason, naming the file.
QString WritePictureFile(const QImage& picture, const QString& path, Replace replace);

// The picture as rectangles of one colour each, white left out (it is the
// background): the runs of each row, and a run that repeats exactly on the
// next row joined to it.
struct ColourRect {
  int x, y, width, height;
  QRgb colour;
};
std::vector<ColourRect> ColourRectangles(const QImage& picture);

// Paints the picture's rectangles, over its area painted white first where
// whiteBackground says so, in the painter's coordinates (one unit a picture
// pixel); the painter is left without a pen and with the last colour as its
// brush. Paints nothing and returns false when there would be more than
// `most` rectangles (grey smoothed text, say), where an image is the smaller
// drawing.
bool PaintRectangles(QPainter& painter, const QImage& picture, size_t most, bool whiteBackground);

}  // namespace platform
