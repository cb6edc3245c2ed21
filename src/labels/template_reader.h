#pragma once
// Reading one XML file of the template database into raw entries: a
// template's product as written, before aliases and page sizes are resolved.
#include "labels/product.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace labels {

struct TemplateEntry {
  Product product;                // an alias's geometry is still empty
  QString equiv;                  // the part of the same brand an alias takes its geometry from
  std::optional<QSizeF> ownPage;  // the template's width and height, for a page "Other"
  QString skipReason;             // why it gives no product, "" when it does
};

struct FileContents {
  std::vector<PaperSize> papers;
  std::vector<TemplateEntry> templates;
  QString problem;  // "file:line: what" when the file could not be read whole
};

FileContents ReadTemplateFile(const QString& path);

}  // namespace labels
