#pragma once
// The label products of Debian's glabels-data template database (the XML
// files of libglabels-3.0/templates under the system's data folders), read
// whole at each use: it takes a few tens of milliseconds.
#include "labels/product.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace labels {

// Where the templates are read: $QUILLON_LABEL_TEMPLATES when set, else the
// first libglabels-3.0/templates folder of the system's data folders, else
// where Debian's package would put it (then missing).
QString TemplatesFolder();

// The message for a missing or empty database: where the templates would
// come from and which package brings them.
QString NoTemplatesMessage(const QString& folder);

// A template that gives no product, and why ("CD/DVD label", "elliptical
// label", "alias of a missing part"...).
struct Skipped {
  QString brand, part, description, reason;
};

class Database {
 public:
  // Reads every .xml file of the folder: paper-sizes.xml and the template
  // files; others (vendors.xml, categories.xml) hold nothing Quillon uses.
  static Database Load(const QString& folder = TemplatesFolder());

  const QString& Folder() const { return folder_; }
  bool Empty() const { return products_.empty(); }
  // Sorted by brand, then part with numbers in their numeric order.
  const std::vector<Product>& Products() const { return products_; }
  const std::vector<Skipped>& SkippedTemplates() const { return skipped_; }
  const std::vector<PaperSize>& PaperSizes() const { return papers_; }
  // Files that could not be read whole ("file:line: what").
  const QStringList& Problems() const { return problems_; }

  // "BRAND PART" in any case and spacing ("avery  5160"), or a part alone
  // where only one brand has it. Nothing when unknown or ambiguous.
  const Product* Find(QStringView name) const;
  // The products whose brand, part and description hold every word of the
  // query, in any case; all of them for an empty query.
  std::vector<const Product*> Search(QStringView query) const;
  // The skipped templates the same query finds.
  std::vector<const Skipped*> SearchSkipped(QStringView query) const;

 private:
  friend class DatabaseBuilder;
  QString folder_;
  std::vector<Product> products_;
  std::vector<Skipped> skipped_;
  std::vector<PaperSize> papers_;
  QStringList problems_;
  QHash<QString, int> byName_;  // folded "brand part" -> product
  QHash<QString, int> byPart_;  // folded part -> product, -1 where several brands have it
};

// Brand, then part in natural order ("5160" before "15160", "L7160" after
// "L716"), without regard to case.
bool ListedBefore(const Product& a, const Product& b);

}  // namespace labels
