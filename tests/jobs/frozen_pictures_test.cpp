// Every finished picture, frozen: for each case of Cases(), the picture's size
// and pixel hash, or the refusal's messages, as tests/jobs/frozen_pictures.txt
// recorded, from the generator on saved options (the command line, the file
// run) and from the window's boxes. QUILLON_FREEZE_WRITE=FILE writes the table
// afresh after a deliberate change of the pictures.
#include "jobs/generator.h"
#include "jobs/options.h"
#include "platform/dialogs.h"
#include "support/window_fixture.h"

#include <QCryptographicHash>
#include <QFile>

#include <map>

namespace {

// A row's inputs: the symbology's name, the text as typed, the check box
// value and the size boxes' texts.
struct Case {
  QString symbology, text, line, height, font, width;
  // As the table writes them, control characters escaped.
  QString Key() const {
    return QStringList{symbology, platform::EscapeControls(text), line, height, font, width}.join(u'\t');
  }
};

// "WxH<TAB>hash" of the picture's pixels, or "refused<TAB>message<TAB>box
// text", control characters escaped.
QString Digest(const jobs::Generated& generated, const QString& boxText) {
  if (!generated.Drawn())
    return QStringLiteral("refused\t%1\t%2")
        .arg(platform::EscapeControls(generated.refusal.message), platform::EscapeControls(boxText));
  const QImage rgb = generated.picture.convertToFormat(QImage::Format_RGB32);
  QCryptographicHash hash(QCryptographicHash::Sha1);
  for (int y = 0; y < rgb.height(); ++y) {
    QByteArray row(reinterpret_cast<const char*>(rgb.constScanLine(y)), rgb.width() * 4);
    for (qsizetype i = 3; i < row.size(); i += 4) row[i] = char(0xff);
    hash.addData(row);
  }
  const QString hex = QString::fromLatin1(hash.result().toHex().left(20));
  return QStringLiteral("%1x%2\t%3").arg(rgb.width()).arg(rgb.height()).arg(hex);
}

// A row through the generator, with the options as the store would hold them.
QString Generated(const Case& c) {
  jobs::Options options;
  options.barHeight = c.height;
  options.fontSize = c.font;
  options.textLine = c.line.toInt();
  options.width = c.width;
  const auto generated = jobs::Generate(*barcode::SymbologyNamed(c.symbology), c.text, jobs::PictureOptions(options));
  return Digest(generated, generated.refusal.boxText);
}

// A row through the window's boxes and its "Bar Code".
QString Result(window::MainWindow& window, test_support::ScriptedDialogs& dialogs, const Case& c) {
  static const std::map<QString, QRadioButton* window::MainWindow::*> options = {
      {"code39", &window::MainWindow::code39Choice},   {"code128b", &window::MainWindow::code128BChoice},
      {"code128-1", &window::MainWindow::code128PatternChoice}, {"code25", &window::MainWindow::interleaved25Choice},
      {"upc", &window::MainWindow::upcAChoice},       {"ean", &window::MainWindow::eanChoice}};
  (window.*options.at(c.symbology))->setChecked(true);
  window.textLineCheck->SetValue(c.line.toInt());
  window.stretchWidthBox->setText(c.width);
  window.fontSizeBox->setText(c.font);
  window.barHeightBox->setText(c.height);
  window.applyBarSize();
  {
    const QSignalBlocker quiet(window.barcodeText);
    window.barcodeText->setText(c.text);
  }
  dialogs.shown.clear();
  window.generate();
  QString box;
  for (const auto& shown : dialogs.shown) box += shown.text;
  return Digest(window.finishedPicture(), box);
}

std::vector<Case> Cases() {
  const std::vector<std::pair<const char*, QStringList>> texts = {
      {"code39", {"QUILLON-39", "abc", "A $/+%.", "A#B", "*A", QString(60, QLatin1Char('W'))}},
      {"code128b",
       {"Quillon 128", "a&b&&c", QStringLiteral("~ \u00b9\u00b2\u00b3\u00bc\x7f"), QStringLiteral("ab\u00e9"), "t\tab",
        QString(400, QLatin1Char('~'))}},
      {"code128-1", {"Quillon 128", "a", QStringLiteral("caf\u00e9")}},
      {"code25", {"20260417", "123", "12a4", "1", QString(22, QLatin1Char('7'))}},
      {"upc", {"03600029145", " 03600029145 ", "0360002914", "0360002914a"}},
      {"ean", {"590123412345", "9638507", "5901234123457", "96385a7"}},
  };
  std::vector<Case> cases;
  for (const auto& [symbology, list] : texts) {
    const bool stretched = std::string(symbology) == "code128-1" || std::string(symbology) == "code25";
    const QStringList widths = stretched ? QStringList{"500", "800", "1300"} : QStringList{"500"};
    for (const QString& text : list) {
      for (const char* line : {"0", "1"})
        for (const char* height : {"0.3", "1.4", "3"})
          for (const char* font : {"5", "8", "20"})
            for (const QString& width : widths) cases.push_back({symbology, text, line, height, font, width});
      // Boxes that hold no number fall back to the initial values.
      cases.push_back({symbology, text, "1", "abc", "x", widths.front()});
    }
  }
  return cases;
}

class FrozenPictures : public test_support::WindowTest {};

TEST_F(FrozenPictures, EveryPictureAndRefusalIsAsRecorded) {
  // Six columns of inputs, then the result.
  std::map<QString, QString> recorded;
  QFile table(QStringLiteral(QUILLON_SOURCE_DIR "/tests/jobs/frozen_pictures.txt"));
  ASSERT_TRUE(table.open(QIODevice::ReadOnly | QIODevice::Text));
  for (const QString& row : QString::fromUtf8(table.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
    const QStringList p = row.split(u'\t');
    ASSERT_GE(p.size(), 8) << row.toStdString();
    recorded[p.first(6).join(u'\t')] = p.sliced(6).join(u'\t');
  }
  const QString writeTo = qEnvironmentVariable("QUILLON_FREEZE_WRITE");
  QString written;
  int compared = 0;
  for (const Case& c : Cases()) {
    const QString result = Result(window(), dialogs, c);
    EXPECT_EQ(Generated(c), result) << c.Key().toStdString();
    written += c.Key() + QLatin1Char('\t') + result + QLatin1Char('\n');
    if (!writeTo.isEmpty()) continue;
    const auto found = recorded.find(c.Key());
    ASSERT_NE(found, recorded.end()) << "not recorded: " << c.Key().toStdString();
    EXPECT_EQ(result, found->second) << c.Key().toStdString();
    ++compared;
  }
  if (!writeTo.isEmpty()) {
    QFile out(writeTo);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(written.toUtf8());
    GTEST_SKIP() << "written to " << writeTo.toStdString();
  }
  EXPECT_EQ(compared, static_cast<int>(recorded.size()));
}

}  // namespace
