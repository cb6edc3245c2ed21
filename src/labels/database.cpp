#include "labels/database.h"

#include "labels/sheet.h"
#include "labels/template_reader.h"

#include <QDir>
#include <QStandardPaths>

#include <algorithm>

namespace labels {

namespace {

constexpr char16_t kSubfolder[] = u"libglabels-3.0/templates";
// Where Debian's glabels-data puts the templates.
constexpr char16_t kDebianFolder[] = u"/usr/share/libglabels-3.0/templates";
// Aliases of aliases are followed this far; a longer chain is a loop.
constexpr int kLongestAliasChain = 8;

QString Folded(QStringView text) { return text.toString().simplified().toCaseFolded(); }

QString Key(const QString& brand, const QString& part) { return Folded(QString(brand + u' ' + part)); }

// -1, 0 or 1 as a is before, the same as or after b, digit runs compared by
// their value and letters without regard to case.
int NaturalCompare(QStringView a, QStringView b) {
  qsizetype i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (a[i].isDigit() && b[j].isDigit()) {
      const qsizetype si = i, sj = j;
      while (i < a.size() && a[i].isDigit()) ++i;
      while (j < b.size() && b[j].isDigit()) ++j;
      QStringView da = a.sliced(si, i - si), db = b.sliced(sj, j - sj);
      while (da.size() > 1 && da[0] == u'0') da = da.sliced(1);
      while (db.size() > 1 && db[0] == u'0') db = db.sliced(1);
      if (da.size() != db.size()) return da.size() < db.size() ? -1 : 1;
      if (const int c = da.compare(db); c != 0) return c < 0 ? -1 : 1;
      continue;
    }
    const char32_t ca = a[i].toCaseFolded().unicode(), cb = b[j].toCaseFolded().unicode();
    if (ca != cb) return ca < cb ? -1 : 1;
    ++i;
    ++j;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

}  // namespace

QString FullName(const Product& product) { return product.brand + u' ' + product.part; }

bool ListedBefore(const Product& a, const Product& b) {
  if (const int c = NaturalCompare(a.brand, b.brand); c != 0) return c < 0;
  if (const int c = NaturalCompare(a.part, b.part); c != 0) return c < 0;
  return FullName(a) < FullName(b);
}

QString TemplatesFolder() {
  const QString override = qEnvironmentVariable("QUILLON_LABEL_TEMPLATES");
  if (!override.isEmpty()) return override;
  const QString found = QStandardPaths::locate(QStandardPaths::GenericDataLocation, QString::fromUtf16(kSubfolder),
                                               QStandardPaths::LocateDirectory);
  return found.isEmpty() ? QString::fromUtf16(kDebianFolder) : found;
}

QString NoTemplatesMessage(const QString& folder) {
  return QStringLiteral(
             "No label templates in %1: they come with the package glabels-data "
             "(sudo apt install glabels-data).")
      .arg(QDir::toNativeSeparators(folder));
}

// Gathers the entries of every file, then resolves aliases and pages.
class DatabaseBuilder {
 public:
  explicit DatabaseBuilder(const QString& folder) { db_.folder_ = folder; }

  void Add(FileContents contents) {
    if (!contents.problem.isEmpty()) db_.problems_ << contents.problem;
    for (PaperSize& paper : contents.papers) db_.papers_.push_back(std::move(paper));
    for (TemplateEntry& entry : contents.templates) {
      const QString key = Key(entry.product.brand, entry.product.part);
      if (index_.contains(key)) {
        entry.skipReason = QStringLiteral("a second template of the same part");
      } else {
        index_.insert(key, int(entries_.size()));
      }
      entries_.push_back(std::move(entry));
    }
  }

  Database Finish() {
    for (TemplateEntry& entry : entries_) {
      if (entry.skipReason.isEmpty()) Resolve(entry);
    }
    for (TemplateEntry& entry : entries_) {
      if (entry.skipReason.isEmpty()) {
        db_.products_.push_back(std::move(entry.product));
      } else {
        db_.skipped_.push_back({entry.product.brand, entry.product.part, entry.product.description, entry.skipReason});
      }
    }
    std::sort(db_.products_.begin(), db_.products_.end(), ListedBefore);
    std::sort(db_.skipped_.begin(), db_.skipped_.end(), [](const Skipped& a, const Skipped& b) {
      const int c = NaturalCompare(a.brand, b.brand);
      return c != 0 ? c < 0 : NaturalCompare(a.part, b.part) < 0;
    });
    for (int i = 0; i < int(db_.products_.size()); ++i) {
      const Product& product = db_.products_[i];
      db_.byName_.insert(Key(product.brand, product.part), i);
      const QString part = Folded(product.part);
      db_.byPart_.insert(part, db_.byPart_.contains(part) ? -1 : i);
    }
    return std::move(db_);
  }

 private:
  // An alias's geometry comes from the part it names, of its own brand.
  void Resolve(TemplateEntry& entry) {
    const TemplateEntry* base = &entry;
    for (int hops = 0; !base->equiv.isEmpty(); ++hops) {
      const auto it = index_.constFind(Key(base->product.brand, base->equiv));
      if (hops == kLongestAliasChain || it == index_.constEnd() || &entries_[*it] == &entry) {
        entry.skipReason = QStringLiteral("alias of a missing part %1").arg(entry.equiv);
        return;
      }
      base = &entries_[*it];
    }
    if (!base->skipReason.isEmpty() && base != &entry) {
      entry.skipReason = base->skipReason;
      return;
    }
    if (base != &entry) {
      Product product = base->product;
      product.brand = entry.product.brand;
      product.part = entry.product.part;
      if (!entry.product.description.isEmpty()) product.description = entry.product.description;
      product.equivOf = entry.equiv;
      entry.product = std::move(product);
      entry.ownPage = base->ownPage;
    }
    SetPage(entry);
  }

  void SetPage(TemplateEntry& entry) {
    Product& product = entry.product;
    const auto paper = std::find_if(db_.papers_.begin(), db_.papers_.end(),
                                    [&](const PaperSize& p) { return p.id == product.paperId; });
    if (paper != db_.papers_.end()) {
      product.page = paper->size;
    } else if (entry.ownPage && !entry.ownPage->isEmpty()) {
      product.page = *entry.ownPage;
    } else {
      entry.skipReason = QStringLiteral("unknown paper size %1").arg(product.paperId);
      return;
    }
    // A roll: the page is the label, which fills it.
    if (paper == db_.papers_.end() && LabelsPerSheet(product) == 1) {
      product.roll = true;
      product.page = product.label;
      product.grids = {Grid{}};
    }
  }

  Database db_;
  std::vector<TemplateEntry> entries_;
  QHash<QString, int> index_;  // folded "brand part" -> entry, the first of each
};

Database Database::Load(const QString& folder) {
  DatabaseBuilder builder(folder);
  const QDir dir(folder);
  const QStringList files = dir.entryList({QStringLiteral("*.xml")}, QDir::Files | QDir::Readable, QDir::Name);
  for (const QString& file : files) builder.Add(ReadTemplateFile(dir.filePath(file)));
  return builder.Finish();
}

const Product* Database::Find(QStringView name) const {
  const QString key = Folded(name);
  if (const auto it = byName_.constFind(key); it != byName_.constEnd()) return &products_[*it];
  if (const auto it = byPart_.constFind(key); it != byPart_.constEnd() && *it >= 0) return &products_[*it];
  return nullptr;
}

namespace {

bool HoldsEveryWord(const QString& brand, const QString& part, const QString& description, const QStringList& words) {
  const QString haystack = Folded(QString(brand + u' ' + part + u' ' + description));
  return std::all_of(words.begin(), words.end(), [&](const QString& word) { return haystack.contains(word); });
}

QStringList Words(QStringView query) { return Folded(query).split(u' ', Qt::SkipEmptyParts); }

}  // namespace

std::vector<const Product*> Database::Search(QStringView query) const {
  const QStringList words = Words(query);
  std::vector<const Product*> found;
  for (const Product& product : products_) {
    if (HoldsEveryWord(product.brand, product.part, product.description, words)) found.push_back(&product);
  }
  return found;
}

std::vector<const Skipped*> Database::SearchSkipped(QStringView query) const {
  const QStringList words = Words(query);
  std::vector<const Skipped*> found;
  for (const Skipped& skipped : skipped_) {
    if (HoldsEveryWord(skipped.brand, skipped.part, skipped.description, words)) found.push_back(&skipped);
  }
  return found;
}

}  // namespace labels
