#include "labels/template_reader.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <algorithm>

namespace labels {

using namespace Qt::Literals::StringLiterals;

std::optional<double> PointsOf(QStringView length) {
  struct Unit {
    QStringView name;
    double points;
  };
  static constexpr Unit kUnits[] = {
      {u"", 1}, {u"pt", 1}, {u"in", kPointsPerInch}, {u"mm", kPointsPerMm}, {u"cm", 10 * kPointsPerMm}, {u"pc", 12},
  };
  length = length.trimmed();
  qsizetype unitStart = length.size();
  while (unitStart > 0 && length[unitStart - 1].isLetter()) --unitStart;
  const QStringView unit = length.sliced(unitStart);
  bool ok = false;
  // In the C locale, without group separators; "11.in" is a length too.
  const double number = length.first(unitStart).toDouble(&ok);
  if (!ok) return std::nullopt;
  for (const Unit& u : kUnits) {
    if (unit.compare(u.name, Qt::CaseInsensitive) == 0) return number * u.points;
  }
  return std::nullopt;
}

namespace {

// Reads the length attributes of one element, remembering the first that
// cannot be read.
class Lengths {
 public:
  Lengths(const QXmlStreamAttributes& attributes, QString& bad) : attributes_(attributes), bad_(bad) {}
  // A missing attribute is worth fallback; without one it is an error too.
  double operator()(QLatin1String name, std::optional<double> fallback = std::nullopt) {
    if (!attributes_.hasAttribute(name)) {
      if (!fallback) Fail(QStringLiteral("no length %1").arg(name));
      return fallback.value_or(0);
    }
    const QStringView text = attributes_.value(name);
    // An optional length written without a number (x0="", round="in") is
    // its default, as glabels reads it.
    if (fallback && std::none_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); })) return *fallback;
    const std::optional<double> points = PointsOf(text);
    if (!points) Fail(QStringLiteral("unreadable length %1=\"%2\"").arg(name, text));
    return points.value_or(0);
  }

 private:
  void Fail(const QString& why) {
    if (bad_.isEmpty()) bad_ = why;
  }
  const QXmlStreamAttributes& attributes_;
  QString& bad_;
};

int Count(const QXmlStreamAttributes& attributes, QLatin1String name, QString& bad) {
  bool ok = false;
  const int n = attributes.value(name).toInt(&ok, 0);  // 12, 0xc or 014, as C reads them
  if ((!ok || n < 1) && bad.isEmpty()) bad = QStringLiteral("unreadable count %1").arg(name);
  return ok ? n : 0;
}

// The children of a Label-rectangle or Label-round: its markup margin (the
// other markups are drawing aids) and its layouts.
void ReadLabelChildren(QXmlStreamReader& xml, Product& product, QString& bad) {
  while (xml.readNextStartElement()) {
    const QXmlStreamAttributes attributes = xml.attributes();
    Lengths length(attributes, bad);
    if (xml.name() == u"Markup-margin") {
      product.margin = length("size"_L1);
    } else if (xml.name() == u"Layout") {
      Grid grid;
      grid.nx = Count(attributes, "nx"_L1, bad);
      grid.ny = Count(attributes, "ny"_L1, bad);
      grid.x0 = length("x0"_L1, 0);
      grid.y0 = length("y0"_L1, 0);
      grid.dx = length("dx"_L1, 0);
      grid.dy = length("dy"_L1, 0);
      product.grids.push_back(grid);
    }
    xml.skipCurrentElement();
  }
  if (product.grids.empty() && bad.isEmpty()) bad = QStringLiteral("no layout");
}

QString UnsupportedShape(QStringView element) {
  if (element == u"Label-cd") return QStringLiteral("CD/DVD label");
  if (element == u"Label-ellipse") return QStringLiteral("elliptical label");
  return QStringLiteral("label shape %1").arg(element.sliced(6));
}

// The first label element of a template; a template with several has never
// been seen, and glabels-data has none.
void ReadLabel(QXmlStreamReader& xml, TemplateEntry& entry) {
  Product& product = entry.product;
  const QXmlStreamAttributes attributes = xml.attributes();
  Lengths length(attributes, entry.skipReason);
  if (xml.name() == u"Label-rectangle") {
    product.shape = Shape::Rectangle;
    product.label = QSizeF(length("width"_L1), length("height"_L1));
    product.corner = length("round"_L1, 0);
  } else if (xml.name() == u"Label-round") {
    product.shape = Shape::Round;
    const double radius = length("radius"_L1);
    product.label = QSizeF(2 * radius, 2 * radius);
  } else {
    entry.skipReason = UnsupportedShape(xml.name());
    xml.skipCurrentElement();
    return;
  }
  if (product.label.isEmpty() && entry.skipReason.isEmpty()) entry.skipReason = QStringLiteral("label of no size");
  ReadLabelChildren(xml, product, entry.skipReason);
}

TemplateEntry ReadTemplate(QXmlStreamReader& xml) {
  TemplateEntry entry;
  const QXmlStreamAttributes attributes = xml.attributes();
  Product& product = entry.product;
  product.brand = attributes.value("brand"_L1).toString().simplified();
  product.part = attributes.value("part"_L1).toString().simplified();
  product.description =
      attributes.value(attributes.hasAttribute("description"_L1) ? "description"_L1 : "_description"_L1)
          .toString()
          .simplified();
  entry.equiv = attributes.value("equiv"_L1).toString().simplified();
  product.paperId = attributes.value("size"_L1).toString();
  if (attributes.hasAttribute("width"_L1) || attributes.hasAttribute("height"_L1)) {
    QString bad;
    Lengths length(attributes, bad);
    const QSizeF page(length("width"_L1), length("height"_L1));
    if (bad.isEmpty()) entry.ownPage = page;
  }
  bool labelSeen = false;
  while (xml.readNextStartElement()) {
    if (!labelSeen && entry.equiv.isEmpty() && xml.name().startsWith(u"Label-")) {
      labelSeen = true;
      ReadLabel(xml, entry);
    } else {
      xml.skipCurrentElement();
    }
  }
  if (entry.equiv.isEmpty() && !labelSeen) entry.skipReason = QStringLiteral("no label");
  return entry;
}

void ReadPaperSizes(QXmlStreamReader& xml, FileContents& contents) {
  while (xml.readNextStartElement()) {
    if (xml.name() == u"Paper-size") {
      const QXmlStreamAttributes attributes = xml.attributes();
      QString bad;
      Lengths length(attributes, bad);
      PaperSize paper{attributes.value("id"_L1).toString(), attributes.value("_name"_L1).toString(),
                      QSizeF(length("width"_L1), length("height"_L1))};
      if (paper.name.isEmpty()) paper.name = attributes.value("name"_L1).toString();
      if (bad.isEmpty() && !paper.id.isEmpty()) contents.papers.push_back(paper);
    }
    xml.skipCurrentElement();
  }
}

}  // namespace

FileContents ReadTemplateFile(const QString& path) {
  FileContents contents;
  QFile file(path);
  const QString name = QFileInfo(path).fileName();
  if (!file.open(QIODevice::ReadOnly)) {
    contents.problem = QStringLiteral("%1: %2").arg(name, file.errorString());
    return contents;
  }
  QXmlStreamReader xml(&file);
  if (xml.readNextStartElement()) {
    if (xml.name() == u"Glabels-paper-sizes") {
      ReadPaperSizes(xml, contents);
    } else if (xml.name() == u"Glabels-templates") {
      while (xml.readNextStartElement()) {
        if (xml.name() == u"Template") {
          contents.templates.push_back(ReadTemplate(xml));
        } else {
          xml.skipCurrentElement();
        }
      }
    }
  }
  if (xml.hasError())
    contents.problem = QStringLiteral("%1:%2: %3").arg(name).arg(xml.lineNumber()).arg(xml.errorString());
  return contents;
}

}  // namespace labels
