#include "labels/listing.h"

#include "labels/sheet.h"

#include <QMap>

#include <algorithm>

namespace labels {

namespace {

// Skipped templates are named one by one up to this many, counted by reason beyond.
constexpr int kSkippedNamed = 10;

QString Mm(double points) {
  QString text = QString::number(points / kPointsPerMm, 'f', 1);
  if (text.endsWith(QLatin1String(".0"))) text.chop(2);
  return text;
}

QString SizeText(const Product& product) {
  if (product.shape == Shape::Round) return QStringLiteral("%1 mm round").arg(Mm(product.label.width()));
  return QStringLiteral("%1 x %2 mm").arg(Mm(product.label.width()), Mm(product.label.height()));
}

QString CountText(const Product& product) {
  if (product.roll) return QStringLiteral("roll");
  const QString page = product.paperId == u"Other"
                           ? QStringLiteral("%1 x %2 mm").arg(Mm(product.page.width()), Mm(product.page.height()))
                           : product.paperId;
  return QStringLiteral("%1 per sheet, %2").arg(LabelsPerSheet(product)).arg(page);
}

QString SkippedNote(const std::vector<const Skipped*>& skipped) {
  QStringList parts;
  if (int(skipped.size()) <= kSkippedNamed) {
    for (const Skipped* s : skipped) parts << QStringLiteral("%1 %2 (%3)").arg(s->brand, s->part, s->reason);
  } else {
    QMap<QString, int> byReason;
    for (const Skipped* s : skipped) ++byReason[s->reason];
    for (auto it = byReason.cbegin(); it != byReason.cend(); ++it) {
      parts << QStringLiteral("%1 (%2 templates)").arg(it.key()).arg(*it);
    }
  }
  return QStringLiteral("Not listed (Quillon places barcodes on rectangular and round labels only): %1.")
      .arg(parts.join(QStringLiteral(", ")));
}

}  // namespace

QString ListLine(const Product& product, const ListColumns& columns) {
  const QString line =
      QStringLiteral("%1  %2  %3  %4")
          .arg(FullName(product).leftJustified(columns.name), SizeText(product).leftJustified(columns.size),
               CountText(product).leftJustified(columns.count), product.description);
  return line.trimmed();
}

QStringList ListLines(const Database& database, QStringView query) {
  const std::vector<const Product*> found = database.Search(query);
  ListColumns columns;
  for (const Product* product : found) {
    columns.name = std::max(columns.name, int(FullName(*product).size()));
    columns.size = std::max(columns.size, int(SizeText(*product).size()));
    columns.count = std::max(columns.count, int(CountText(*product).size()));
  }
  QStringList lines;
  for (const Product* product : found) lines << ListLine(*product, columns);
  const std::vector<const Skipped*> skipped = database.SearchSkipped(query);
  if (!skipped.empty()) lines << SkippedNote(skipped);
  return lines;
}

}  // namespace labels
