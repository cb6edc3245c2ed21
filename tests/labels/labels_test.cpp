// The label products read from Debian's glabels-data, checked against the
// makers' published sheets; a small template folder of our own for what the
// real data has no case of; the placement of a picture in a label and the
// label each barcode of a run takes.
#include "labels/database.h"
#include "labels/listing.h"
#include "labels/sheet.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace labels {
namespace {

constexpr double kIn = 72, kMm = 72 / 25.4;  // points

void ExpectRect(const QRectF& a, const QRectF& e, double tolerance, const std::string& what) {
  for (const double d : {a.left() - e.left(), a.top() - e.top(), a.width() - e.width(), a.height() - e.height()})
    EXPECT_LE(std::abs(d), tolerance) << what;
}

const Database& RealDatabase() {
  static const Database database = Database::Load(QStringLiteral("/usr/share/libglabels-3.0/templates"));
  return database;
}

// The figures are the makers' published sheets, not the templates': Avery's
// 5160 has 0.1875 inch side margins and a 2.75 inch pitch, where glabels
// spreads the columns 1/32 inch wider; Avery's L7160 has 63.5 x 38.1 mm
// labels 7.21 mm from the side and 15.15 mm from the top, where glabels'
// are 64 mm wide and up to 0.4 mm lower and further right.
TEST(LabelProducts, PublishedSheetsAreReadFromTheDatabase) {
  const struct {
    const char16_t* query;
    const char* name;
    const char* equivOf;
    QSizeF page;
    bool roll;
    int across, down;
    QRectF first;  // the first label
    QSizeF pitch;
    double tolerance;
  } rows[] = {
      {u"Avery 5160", "Avery 5160", "", {8.5 * kIn, 11 * kIn}, false, 3, 10,
       {0.1875 * kIn, 0.5 * kIn, 2.625 * kIn, 1 * kIn}, {2.75 * kIn, 1 * kIn}, kIn / 32 + 0.01},
      {u"avery l7160", "Avery L7160", "7160", {210 * kMm, 297 * kMm}, false, 3, 7,
       {7.21 * kMm, 15.15 * kMm, 63.5 * kMm, 38.1 * kMm}, {66.04 * kMm, 38.1 * kMm}, 0.5 * kMm},
      {u"DYMO 99012", "Dymo 99012", "", {36 * kMm, 89 * kMm}, true, 1, 1, {0, 0, 36 * kMm, 89 * kMm}, {}, 0.01},
  };
  for (const auto& row : rows) {
    const Product* product = RealDatabase().Find(row.query);
    ASSERT_NE(product, nullptr) << row.name;
    EXPECT_EQ(FullName(*product).toStdString(), row.name);
    EXPECT_EQ(product->equivOf.toStdString(), row.equivOf);
    const Sheet sheet = SheetOf(*product);
    ExpectRect(QRectF(QPointF(), sheet.page), QRectF(QPointF(), row.page), 0.01, row.name);
    EXPECT_EQ(sheet.roll, row.roll) << row.name;
    ASSERT_EQ(LabelsPerSheet(*product), row.across * row.down) << row.name;
    ASSERT_EQ(int(sheet.labels.size()), row.across * row.down) << row.name;
    for (int i = 0; i < int(sheet.labels.size()); ++i) {
      const QPointF step((i % row.across) * row.pitch.width(), (i / row.across) * row.pitch.height());
      ExpectRect(sheet.labels[i], row.first.translated(step), row.tolerance, row.name + std::to_string(i + 1));
    }
  }
  // Every template of the files gives a product or a skipped entry.
  int templates = 0;
  const QDir dir(RealDatabase().Folder());
  for (const QString& name : dir.entryList({QStringLiteral("*.xml")})) {
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    templates += int(file.readAll().count("<Template "));
  }
  EXPECT_GT(templates, 1500);
  EXPECT_EQ(templates, int(RealDatabase().Products().size() + RealDatabase().SkippedTemplates().size()));
  EXPECT_TRUE(RealDatabase().Problems().isEmpty()) << RealDatabase().Problems().join(u'\n').toStdString();
}

// The sheet's line of --list-labels: the command line's tests.
TEST(LabelProducts, FoundByNameListedAndSorted) {
  const Database& db = RealDatabase();
  EXPECT_EQ(ListLines(db, u"Dymo 99012").join(u'|').simplified().toStdString(),
            "Dymo 99012 36 x 89 mm roll Large Address Labels");
  EXPECT_TRUE(ListLines(db, u"SL113").last().contains(u"SheetLabels SL113 (CD/DVD label)"));
  EXPECT_EQ(db.Find(u"Avery 99999"), nullptr);
  const std::vector<const Product*> found = db.Search(u"ADDRESS avery");
  const auto has = [&](const char16_t* name) {
    return std::find(found.begin(), found.end(), db.Find(name)) != found.end();
  };
  EXPECT_TRUE(has(u"Avery 5160") && has(u"Avery 15160"));
  EXPECT_FALSE(has(u"Dymo 99012") || has(u"Avery L7160"));  // address labels not by Avery; Avery's mailing labels
  const auto named = [](const char* name) {
    Product product;
    product.brand = QString(name).section(' ', 0, 0), product.part = QString(name).section(' ', 1);
    return product;
  };
  for (const auto& [a, b] : {std::pair{"Avery 5160", "Avery 15160"}, {"avery L716", "Avery L7160"},
                             {"Avery 9", "avery L1"}, {"Avery Z", "Dymo 1"}, {"Avery A-2", "Avery A-10"}})
    EXPECT_TRUE(ListedBefore(named(a), named(b)) && !ListedBefore(named(b), named(a))) << a << " < " << b;
}

// Cases the real data lacks: aliases of aliases, a missing alias, two
// blocks side by side, a part two brands share, a page size nobody knows.
TEST(LabelDatabase, OwnFolderCoversAliasesOrderAndSkips) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const auto write = [&](const char* name, const char* xml) {
    QFile file(QDir(dir.path()).filePath(QString::fromLatin1(name)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(xml);
  };
  write("paper-sizes.xml", R"(<Glabels-paper-sizes>
    <Paper-size id="Half" _name="Half sheet" pwg_size="x" width="6in" height="4in"/></Glabels-paper-sizes>)");
  write("acme-templates.xml", R"(<?xml version="1.0"?><Glabels-templates>
    <Template brand="Acme" part="B2" size="Half" _description="Blocks">
      <Label-rectangle id="0" width="1in" height="1in" round="0">
        <Markup-margin size="0.1in"/>
        <Layout nx="2" ny="2" x0="3in" y0="0.5in" dx="1.25in" dy="1.5in"/>
        <Layout nx="2" ny="2" x0="0.5in" y0="0.5in" dx="1.25in" dy="1.5in"/>
      </Label-rectangle></Template>
    <Template brand="Acme" part="A1" equiv="B2" _description="Own words"/>
    <Template brand="Acme" part="A0" equiv="A1"/>
    <Template brand="Acme" part="Lost" equiv="Nowhere"/>
    <Template brand="Acme" part="Disc" size="Half">
      <Label-cd id="0" radius="1in" hole="0.5in"><Layout nx="1" ny="1"/></Label-cd></Template>
    <Template brand="Acme" part="Disc2" equiv="Disc"/>
    <Template brand="Acme" part="Odd" size="B17">
      <Label-round id="0" radius="1in"><Layout nx="1" ny="1"/></Label-round></Template>
    <Template brand="Other" part="B2" size="Other" width="2pc" height="1cm" description="Dots">
      <Label-round id="0" radius="1pc"><Markup-margin size="2pt"/><Layout nx="1" ny="1" x0="1pt"/></Label-round>
    </Template>
  </Glabels-templates>)");
  const Database db = Database::Load(dir.path());
  ASSERT_EQ(db.Products().size(), 4u);
  const Product* alias = db.Find(u"acme a0");
  ASSERT_NE(alias, nullptr);
  EXPECT_EQ(alias->equivOf, u"A1");
  EXPECT_EQ(db.Find(u"Acme A1")->description, u"Own words");
  // Row by row across both blocks, as the sheet is read.
  const Sheet sheet = SheetOf(*alias);
  const double xs[] = {0.5, 1.75, 3, 4.25};
  ASSERT_EQ(sheet.labels.size(), 8u);
  for (int i = 0; i < 8; ++i) {
    ExpectRect(sheet.labels[i], QRectF(xs[i % 4] * kIn, (i < 4 ? 0.5 : 2) * kIn, kIn, kIn), 1e-9, std::to_string(i));
  }
  EXPECT_EQ(db.Find(u"B2"), nullptr);  // two brands have it
  const Product* roll = db.Find(u"other b2");
  ASSERT_NE(roll, nullptr);
  EXPECT_TRUE(roll->roll);
  EXPECT_EQ(roll->page, QSizeF(24, 24));
  const Sheet rollSheet = SheetOf(*roll);
  ASSERT_EQ(rollSheet.labels.size(), 1u);
  EXPECT_EQ(rollSheet.labels[0], QRectF(0, 0, 24, 24));
  const Area dot = InnerArea(*roll, rollSheet.labels[0]);
  EXPECT_EQ(dot.bounds, QRectF(2, 2, 20, 20));
  EXPECT_TRUE(dot.round);
  QStringList skipped;
  for (const Skipped& s : db.SkippedTemplates()) skipped << s.part + QStringLiteral(": ") + s.reason;
  EXPECT_EQ(skipped.join(u'|').toStdString(),
            "Disc: CD/DVD label|Disc2: CD/DVD label|Lost: alias of a missing part Nowhere|Odd: unknown paper size B17");
}

TEST(LabelPlacement, PicturesAreCentredAndShrunkUniformly) {
  const Area wide{QRectF(10, 20, 180, 63), false}, tall{QRectF(0, 0, 63, 180), false},
      circle{QRectF(0, 0, 100, 100), true};
  const struct {
    const char* name;
    QSizeF pixels;
    double module;
    Area area;
    Turning turning;
    QRectF picture;
    bool turned;
    double moduleMm;
  } rows[] = {
      {"small, natural size", {200, 50}, 1, wide, Turning::Upright, {25, 32.75, 150, 37.5}, false, 25.4 / 96},
      {"too wide, half size", {480, 60}, 1, wide, Turning::Upright, {10, 40.25, 180, 22.5}, false, 25.4 / 192},
      {"too wide, 2 px modules", {480, 60}, 2, wide, Turning::Upright, {10, 40.25, 180, 22.5}, false, 25.4 / 96},
      {"too tall", {100, 168}, 3, wide, Turning::Upright, {81.25, 20, 37.5, 63}, false, 25.4 / 64},
      {"in a circle by its diagonal", {160, 120}, 1, circle, Turning::Upright, {10, 20, 80, 60}, false, 25.4 / 144},
      {"upright in a tall label", {480, 60}, 1, tall, Turning::Upright, {0, 86.0625, 63, 7.875}, false, 0.0463},
      {"turned in a tall label", {480, 60}, 1, tall, Turning::MayTurn, {20.25, 0, 22.5, 180}, true, 25.4 / 192},
      {"not turned when it fits", {60, 40}, 1, tall, Turning::MayTurn, {9, 75, 45, 30}, false, 25.4 / 96},
  };
  for (const auto& row : rows) {
    const Placement placement = Place(row.pixels, row.module, row.area, row.turning);
    ExpectRect(placement.picture, row.picture, 1e-9, row.name);
    EXPECT_EQ(placement.turned, row.turned) << row.name;
    EXPECT_NEAR(placement.moduleMm, row.moduleMm, 1e-4) << row.name;
    EXPECT_EQ(placement.belowScannerLimit, row.moduleMm < 0.19) << row.name;
  }
}

TEST(LabelPlacement, InnerAreaKeepsClearOfMarginAndCorners) {
  const double arc = 10 - 10 / std::sqrt(2.0);  // where a 10 pt round corner meets the diagonal
  const struct {
    Shape shape;
    double corner, margin;
    QRectF inner;
  } rows[] = {{Shape::Rectangle, 0, 5, {105, 205, 50, 30}}, {Shape::Rectangle, 4, 5, {105, 205, 50, 30}},
              {Shape::Rectangle, 10, 0, {100 + arc, 200 + arc, 60 - 2 * arc, 40 - 2 * arc}},
              {Shape::Rectangle, 0, 30, {130, 220, 0, 0}}, {Shape::Round, 10, 3, {103, 203, 54, 34}}};
  for (const auto& row : rows) {
    Product product;
    product.shape = row.shape, product.corner = row.corner, product.margin = row.margin;
    const Area area = InnerArea(product, QRectF(100, 200, 60, 40));
    ExpectRect(area.bounds, row.inner, 1e-9, std::to_string(row.corner) + " " + std::to_string(row.margin));
    EXPECT_EQ(area.round, row.shape == Shape::Round);
  }
}

TEST(LabelRuns, FirstLabelGivesEachBarcodeItsPageAndLabel) {
  const struct {
    int barcode, first, perSheet, page, label;
  } rows[] = {
      {0, 7, 30, 0, 6}, {23, 7, 30, 0, 29}, {24, 7, 30, 1, 0}, {99, 7, 30, 3, 15},
      {0, 1, 21, 0, 0}, {5, 1, 1, 5, 0},    {0, 0, 30, 0, 0},  {0, 31, 30, 0, 29},
  };
  for (const auto& row : rows) {
    const Slot slot = SlotOf(row.barcode, row.first, row.perSheet);
    EXPECT_EQ(slot.page, row.page) << row.barcode << " from " << row.first;
    EXPECT_EQ(slot.label, row.label) << row.barcode << " from " << row.first;
  }
  for (const auto& [barcodes, first, pages] : {std::tuple{100, 1, 4}, {25, 7, 2}, {24, 7, 1}, {0, 7, 0}})
    EXPECT_EQ(PagesFor(barcodes, first, 30), pages) << barcodes << " from " << first;
}

}  // namespace
}  // namespace labels
