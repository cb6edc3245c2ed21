#pragma once
// A finished picture written to a file, as --export and "Save Bar Code
// As..." write it: PNG (the image, pixels 1:1), or SVG / PDF when the name
// ends in .svg / .pdf (any case), drawn as vectors: every bar a filled
// rectangle, every text real text. All three have the same geometry: one
// picture pixel is 1/96 inch.
#include "jobs/generator.h"
#include "platform/output_file.h"

#include <QByteArray>
#include <QString>

namespace jobs {

enum class PictureFormat { Png, Svg, Pdf };

// The format a file name asks for; PNG unless it ends in .svg or .pdf.
PictureFormat PictureFormatOf(const QString& path);

// The picture encoded in that format ("" when there is none or it could not
// be encoded).
QByteArray EncodePicture(const Generated& generated, PictureFormat format);

// Writes the picture to path whole or not at all ("-" is standard output).
// "" when written, else the reason, naming the file.
QString WritePicture(const Generated& generated, const QString& path, platform::Replace replace);

}  // namespace jobs
