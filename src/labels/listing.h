#pragma once
// The product list `--list-labels [WORD]` prints: one line a product with
// its brand and part, label size and labels per sheet, then a note on the
// templates of shapes Quillon does not place barcodes on.
#include "labels/database.h"

#include <QString>
#include <QStringList>
#include <QStringView>

namespace labels {

// Column widths for lining up several lines; 0 for none.
struct ListColumns {
  int name = 0, size = 0, count = 0;
};

// "Avery 5160  66.7 x 25.4 mm  30 per sheet, US-Letter  Address Labels";
// a round label's size is "40 mm round", a roll's count "roll".
QString ListLine(const Product& product, const ListColumns& columns = {});

// The products the query finds (all for an empty one) in list order, lined
// up, and the note on the skipped templates it finds, if any.
QStringList ListLines(const Database& database, QStringView query);

}  // namespace labels
