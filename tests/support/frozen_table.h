#pragma once
// The table of frozen pictures (tests/jobs/frozen_pictures.txt): for each
// symbology, text and set of options, the finished picture's size and pixel
// hash, or the refusal's messages.
#include "layout/options.h"

#include <QImage>
#include <QString>

#include <vector>

namespace test_support {

struct FrozenRow {
  QString symbology;  // code39, code128b, code128-1, code25, upc, ean
  QString text;       // as typed (control characters unescaped)
  QString line, height, font, width;  // the check box value and the size boxes' texts
  QString result;     // Digest() of the picture or RefusalDigest() of the refusal
  QString Key() const;  // the inputs, as the table writes them
};

QString FrozenTablePath();

// The options the window reads from a row's check box and size boxes.
layout::Options OptionsOf(const FrozenRow& row);
std::vector<FrozenRow> ReadFrozenTable();

// "WxH<TAB>hash" of a picture's pixels.
QString Digest(const QImage& picture);
// "refused<TAB>message<TAB>box text", control characters escaped.
QString RefusalDigest(const QString& message, const QString& boxText);

}  // namespace test_support
