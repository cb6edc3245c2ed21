// The saved options: written as each control changes, read back by a new
// window on the same store, the settings error path and the Options menu.
#include "platform/printers.h"
#include "support/form_fixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QSettings>
#include <QTest>

#include <functional>
#include <set>

#include <sys/stat.h>

// Readable failure messages.
static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

using main_window::kApp;
using main_window::kSection;

// Where conventions put the store, worked out here rather than asked of the
// store itself.
QString StoreFile() {
  return QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath(QStringLiteral("Quillon/Quillon.conf"));
}

void WriteStore(const QByteArray& content) {
  QDir().mkpath(QFileInfo(StoreFile()).absolutePath());
  QFile f(StoreFile());
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(content);
}

// The keys of [options] as an independent INI reader sees them, lower case.
std::set<QString> StoredKeys() {
  QSettings ini(StoreFile(), QSettings::IniFormat);
  ini.beginGroup(QStringLiteral("options"));
  std::set<QString> keys;
  for (const QString& k : ini.childKeys()) keys.insert(k.toLower());
  return keys;
}

int OuterHeightTwips(const QWidget& w) { return w.frameGeometry().height() * 15; }

class OptionsTest : public test_support::FormTest {
 protected:
  QString Stored(const char* key) { return settings.GetSetting(kApp, kSection, QString::fromLatin1(key), "<none>"); }
  // Moves the focus out of the printer box to another control, as a click would.
  void LeaveCombo1() {
    form().show();
    QApplication::setActiveWindow(&form());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    form().Combo1->setFocus(Qt::MouseFocusReason);
    form().Text4->setFocus(Qt::MouseFocusReason);
  }
};

TEST_F(OptionsTest, FirstStartOnAnEmptyStoreRunsOnTheDefaults) {
  main_window::Form1& f = form();
  EXPECT_TRUE(f.Option1->isChecked());
  EXPECT_EQ(f.Text9->text(), "500");
  EXPECT_EQ(Stored("text9"), "500");
  EXPECT_EQ(f.Text8->text(), "1.4");
  EXPECT_EQ(f.Text3->text(), "8");
  EXPECT_EQ(f.Text14->text(), "1");
  EXPECT_EQ(f.Text15->text(), "1");
  EXPECT_EQ(f.Combo1->currentText(), "");
  for (platform::CheckBox* c : {f.Check1, f.Check2, f.CheckPrintLine, f.Checkqq}) EXPECT_EQ(c->Value(), 0);
  EXPECT_FALSE(f.FrameOptions->isHidden());
  EXPECT_EQ(f.Settings->text(), "&Hide Settings");
  // The Click handler of the restored Code 128 B rewrote all six keys.
  EXPECT_EQ(Stored("type1"), "True");
  for (const char* k : {"type2", "type4", "type5", "type8", "type9"}) EXPECT_EQ(Stored(k), "False") << k;
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_FALSE(dialogs.endStatus.has_value());
}

TEST_F(OptionsTest, EveryMirroredControlIsSavedAsItChangesAndComesBackAfterARestart) {
  main_window::Form1& f = form();
  struct Change {
    const char* key;
    std::function<void()> change;
    const char* saved;
  };
  const Change changes[] = {
      {"type8", [&] { f.Option8->click(); }, "True"},
      {"Checkqq", [&] { f.Checkqq->click(); }, "1"},
      {"CheckPrintLine", [&] { f.CheckPrintLine->click(); }, "1"},
      {"line", [&] { f.Text4->setText(QStringLiteral("ORD-")); }, "ORD-"},
      {"file", [&] { f.Text5->setText(QStringLiteral("/tmp/a b, c.txt")); }, "/tmp/a b, c.txt"},
      {"text8", [&] { f.Text8->setText(QStringLiteral("2")); }, "2"},
      {"font", [&] { f.Text3->setText(QStringLiteral("10")); }, "10"},
      {"check1", [&] { f.Check1->SetValue(2); }, "2"},
      {"check2", [&] { f.Check2->click(); }, "1"},
      {"barcodeoffset14", [&] { f.Text14->setText(QStringLiteral("2.5")); }, "2.5"},
      {"barcodeoffset15", [&] { f.Text15->setText(QStringLiteral("0")); }, "0"},
      {"text9", [&] { f.Text9->setText(QStringLiteral("640")); }, "640"},
      {"show", [&] { f.Settings->trigger(); }, "0"},
  };
  for (const Change& c : changes) {
    c.change();
    EXPECT_EQ(Stored(c.key), c.saved) << c.key;
  }
  EXPECT_EQ(Stored("type1"), "False");
  // The printer box is saved only when the focus leaves it.
  f.Combo1->setEditText(QStringLiteral("Gone Printer"));
  EXPECT_EQ(Stored("c1opt"), "<none>");
  LeaveCombo1();
  EXPECT_EQ(Stored("c1opt"), "Gone Printer");
  EXPECT_EQ(f.FilePath, "/tmp/a b, c.txt");

  // All 19 keys are in the store, under their own names.
  EXPECT_EQ(StoredKeys(),
            (std::set<QString>{"show", "type1", "type2", "type4", "type5", "type8", "type9", "checkqq",
                               "checkprintline", "line", "file", "text8", "font", "check1", "check2",
                               "barcodeoffset14", "barcodeoffset15", "c1opt", "text9"}));

  main_window::Form1& g = Restart();
  EXPECT_TRUE(g.Option8->isChecked());
  EXPECT_FALSE(g.Option1->isChecked());
  EXPECT_EQ(g.Checkqq->Value(), 1);
  EXPECT_EQ(g.CheckPrintLine->Value(), 0);  // saved, never restored
  EXPECT_EQ(g.Text4->text(), "ORD-");
  EXPECT_EQ(g.Text5->text(), "/tmp/a b, c.txt");
  EXPECT_EQ(g.FilePath, "/tmp/a b, c.txt");
  EXPECT_EQ(g.Text8->text(), "2");
  EXPECT_EQ(g.Picture1->ScaleHeight(), 80);  // the restored bar height was applied
  EXPECT_EQ(g.Text3->text(), "10");
  EXPECT_EQ(g.Check1->Value(), 2);
  EXPECT_EQ(g.Check2->Value(), 1);
  EXPECT_EQ(g.Text14->text(), "2.5");
  EXPECT_EQ(g.Text15->text(), "0");
  EXPECT_EQ(g.Text9->text(), "640");
  EXPECT_EQ(g.Combo1->currentText(), "Gone Printer");
  EXPECT_TRUE(g.FrameOptions->isHidden());
  EXPECT_EQ(g.Settings->text(), "&Show Settings");
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(OptionsTest, AHandWrittenStoreIsReadWithTheBooleanAndCheckConversions) {
  WriteStore("[options]\ntype1=False\ntype2=True\nshow=0\n");
  main_window::Form1& f = Restart();
  EXPECT_TRUE(f.Option2->isChecked());
  EXPECT_FALSE(f.Option1->isChecked());
  EXPECT_TRUE(f.FrameOptions->isHidden());
  EXPECT_EQ(OuterHeightTwips(f), 3405);  // 3400 twips in whole pixels
  EXPECT_EQ(Stored("type1"), "False");
  EXPECT_EQ(Stored("type2"), "True");

  // Numbers and words in any case; a check value is rounded half to even.
  WriteStore("[options]\ntype1= false \ntype2=0\ntype4=-1\ncheck1=1.5\ncheck2=0.5\nCheckqq= 1 \nshow=1\n");
  main_window::Form1& g = Restart();
  EXPECT_TRUE(g.Option4->isChecked());
  EXPECT_FALSE(g.Option1->isChecked() || g.Option2->isChecked());
  EXPECT_EQ(g.Check1->Value(), 2);
  EXPECT_EQ(g.Check2->Value(), 0);
  EXPECT_EQ(g.Checkqq->Value(), 1);
  EXPECT_FALSE(g.FrameOptions->isHidden());

  // A missing "type1" reads as selected; of several selected, the first wins
  // and the rewrite leaves exactly one.
  WriteStore("[options]\ntype8=True\ntype9=True\n");
  EXPECT_TRUE(Restart().Option1->isChecked());
  WriteStore("[options]\ntype1=False\ntype8=True\ntype9=True\n");
  EXPECT_TRUE(Restart().Option8->isChecked());
  EXPECT_EQ(Stored("type9"), "False");

  // None selected: the generate command draws Code 39.
  WriteStore("[options]\ntype1=False\ntype2=False\ntype4=0\ntype5=0\ntype8=0\ntype9=0\n");
  main_window::Form1& h = Restart();
  for (QRadioButton* o : {h.Option1, h.Option2, h.Option4, h.Option5, h.Option8, h.Option9})
    EXPECT_FALSE(o->isChecked()) << o->text().toStdString();
  h.Text1->setText(QStringLiteral("AB"));
  ASSERT_TRUE(h.Picture2->HasPicture());
  const QImage none = h.Picture2->Picture();
  h.Option2->setChecked(true);
  h.Command1_Click();
  EXPECT_EQ(h.Picture2->Picture(), none);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(OptionsTest, EachValueThatCannotBeConvertedReachesTheErrorPathOnce) {
  const std::pair<const char*, const char*> corrupt[] = {
      {"type1", "abc"}, {"type9", "Yes"}, {"type4", ""},      {"type2", "True!"}, {"check1", "3"},
      {"check2", "-1"}, {"Checkqq", "x"}, {"check1", "99999"}, {"check2", "2.6"},  {"Checkqq", ""},
  };
  for (const auto& [key, value] : corrupt) {
    SCOPED_TRACE(std::string(key) + "=" + value);
    WriteStore(QByteArray("[options]\nline=keep\ntext8=2\n") + key + "=" + value + "\n");
    dialogs.shown.clear();
    dialogs.endStatus.reset();
    Restart();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    const QString text = dialogs.shown[0].text;
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n\r\nError in Settings, Default Settings will be restored and "
                                             "Quillon should be restarted")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromLatin1(key))) << text.toStdString();
    EXPECT_TRUE(dialogs.endStatus.has_value());
    EXPECT_TRUE(StoredKeys().empty());
    EXPECT_EQ(Stored("line"), "<none>");

    dialogs.shown.clear();
    dialogs.endStatus.reset();
    main_window::Form1& next = Restart();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_FALSE(dialogs.endStatus.has_value());
    EXPECT_TRUE(next.Option1->isChecked());
    EXPECT_EQ(next.Text4->text(), "");
    EXPECT_EQ(next.Text8->text(), "1.4");
  }
}

TEST_F(OptionsTest, HidingAndShowingTheSettingsPanel) {
  main_window::Form1& f = form();
  EXPECT_EQ(f.menuBar()->actions().at(0)->text(), "&Options");
  f.Settings_Click();
  EXPECT_EQ(f.Settings->text(), "&Show Settings");
  EXPECT_TRUE(f.FrameOptions->isHidden());
  EXPECT_EQ(OuterHeightTwips(f), 3405);
  EXPECT_EQ(Stored("show"), "0");
  f.Settings_Click();
  EXPECT_EQ(f.Settings->text(), "&Hide Settings");
  EXPECT_FALSE(f.FrameOptions->isHidden());
  EXPECT_EQ(OuterHeightTwips(f), 5850);
  EXPECT_EQ(Stored("show"), "1");
}

TEST_F(OptionsTest, RestoreDefaultSettingsAsksFirst) {
  form().Text4->setText(QStringLiteral("mine"));
  dialogs.answers = {false};
  form().RestoreDefaults->trigger();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "Are you sure you want to restore default settings?");
  EXPECT_TRUE(dialogs.shown[0].title.startsWith(QStringLiteral("Quillon - "))) << dialogs.shown[0].title.toStdString();
  EXPECT_FALSE(dialogs.endStatus.has_value());
  EXPECT_EQ(Stored("line"), "mine");

  dialogs.answers = {true};
  form().RestoreDefaults->trigger();
  ASSERT_EQ(dialogs.shown.size(), 3u);
  EXPECT_EQ(dialogs.shown[2].text, "Quillon will now exit and should be restarted ");
  EXPECT_TRUE(dialogs.endStatus.has_value());
  EXPECT_FALSE(QFile::exists(StoreFile()));
  EXPECT_EQ(Restart().Text4->text(), "");
}

TEST_F(OptionsTest, ThePrinterBoxListsThePrintersAndKeepsAFreeText) {
  WriteStore("[options]\nc1opt=Gone Printer\n");
  main_window::Form1& f = Restart();
  QStringList listed;
  for (int i = 0; i < f.Combo1->count(); ++i) listed << f.Combo1->itemText(i);
  EXPECT_EQ(listed, platform::PrinterNames());
  EXPECT_EQ(listed.last(), "Save as PDF");
  EXPECT_EQ(f.Combo1->currentText(), "Gone Printer");
  // Choosing from the list saves nothing until the focus leaves.
  f.Combo1->setCurrentIndex(f.Combo1->count() - 1);
  EXPECT_EQ(Stored("c1opt"), "Gone Printer");
  LeaveCombo1();
  EXPECT_EQ(Stored("c1opt"), "Save as PDF");
}

TEST_F(OptionsTest, ACommandLinePathIsTakenOverIntoThePathBox) {
  main_window::Form1& f = form();
  EXPECT_EQ(f.Form_Load(QStringLiteral("  /tmp/orders 1.txt ")),
            main_window::Form1::LoadResult::PrintCommandLineFile);
  EXPECT_EQ(f.FilePath, "/tmp/orders 1.txt");
  EXPECT_EQ(f.Text5->text(), "/tmp/orders 1.txt");
  EXPECT_EQ(Stored("file"), "/tmp/orders 1.txt");
  EXPECT_EQ(Restart().Form_Load(QStringLiteral("   ")), main_window::Form1::LoadResult::ShowWindow);
}

// A store that cannot be read at all starts the window on the defaults: the
// error path would delete it, which cannot work for a folder or a file that
// cannot be read, and would end every start.
TEST_F(OptionsTest, AStoreThatCannotBeReadStartsOnTheDefaults) {
  const QString path = StoreFile();
  QFile::remove(path);
  ASSERT_TRUE(QDir().mkpath(path + QStringLiteral("/sub")));  // a folder in place of the file
  main_window::Form1& f = Restart();
  EXPECT_TRUE(f.Option1->isChecked());
  EXPECT_EQ(f.Text9->text(), "500");
  f.Text4->setText(QStringLiteral("x"));
  EXPECT_TRUE(QFileInfo(path).isDir());  // left as it was
  EXPECT_TRUE(dialogs.shown.empty());
  ASSERT_TRUE(QDir(path).removeRecursively());

  ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);  // reading it would block
  Restart();
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(form().Text8->text(), "1.4");
  QFile::remove(path);

  // Garbage bytes: nothing in them converts to an option, and the first
  // write leaves a clean file.
  QByteArray garbage;
  for (int i = 0; i < 4096; ++i) garbage.append(static_cast<char>((i * 7919 + 13) % 256));
  WriteStore(garbage);
  Restart();
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(form().Text9->text(), "500");
  QSettings ini(path, QSettings::IniFormat);
  EXPECT_EQ(ini.status(), QSettings::NoError);
  EXPECT_EQ(ini.value(QStringLiteral("options/text9")).toString(), "500");

}

}  // namespace
