// The saved options (written as each control changes, read back by a new
// window on the same store, the settings error path, a writer killed midway),
// the menus and what a person sees of the layout.
#include "support/window_fixture.h"
#include "support/decode.h"
#include "support/printed_pages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QThread>

#include <sys/stat.h>

namespace {

using window::MainWindow;
using test_support::StoreFile;

void WriteStore(const QByteArray& content) { ASSERT_TRUE(test_support::WriteFile(StoreFile(), content)); }

// An [options] value as an independent INI reader sees it, the key in any case.
QString Stored(const char* key) {
  QSettings ini(StoreFile(), QSettings::IniFormat);
  ini.beginGroup(QStringLiteral("options"));
  for (const QString& k : ini.childKeys())
    if (k.compare(QLatin1String(key), Qt::CaseInsensitive) == 0) return ini.value(k).toString();
  return {};
}

class OptionsTest : public test_support::WindowTest {};

TEST_F(OptionsTest, FromTheDefaultsEveryMirroredControlIsSavedAndComesBackAfterARestart) {
  MainWindow& f = window();
  // First start: Code 128 B, whose click handler wrote all six type keys, and the width 500.
  EXPECT_TRUE(f.code128BChoice->isChecked());
  EXPECT_EQ(f.stretchWidthBox->text(), "500");
  QStringList types;
  for (const char* k : {"text9", "type1", "type2", "type4", "type5", "type8", "type9"}) types << Stored(k);
  EXPECT_EQ(types.join(' '), "500 True False False False False False");
  const std::tuple<const char*, QLineEdit* MainWindow::*, const char*> texts[] = {
      {"line", &MainWindow::linePatternBox, "ORD-"},          {"file", &MainWindow::filePathBox, "/tmp/a b, c.txt"},
      {"text8", &MainWindow::barHeightBox, "2"},            {"font", &MainWindow::fontSizeBox, "10"},
      {"barcodeoffset14", &MainWindow::leftOffsetBox, "2.5"}, {"barcodeoffset15", &MainWindow::topOffsetBox, "0"},
      {"text9", &MainWindow::stretchWidthBox, "640"}};
  // CheckPrintLine is saved but never read back: it starts unticked.
  const std::tuple<const char*, window::CheckBox* MainWindow::*, int, int> checks[] = {
      {"Checkqq", &MainWindow::columnsCheck, 1, 1}, {"CheckPrintLine", &MainWindow::printLineCheck, 1, 0},
      {"check1", &MainWindow::includePatternCheck, 2, 2},   {"check2", &MainWindow::textLineCheck, 1, 1}};
  for (const auto& [key, box, value] : texts) {
    (f.*box)->setText(QString::fromLatin1(value));
    EXPECT_EQ(Stored(key), value) << key;
  }
  for (const auto& [key, box, value, restored] : checks) {
    (f.*box)->SetValue(value);
    EXPECT_EQ(Stored(key), QString::number(value)) << key;
  }
  f.eanChoice->click();
  EXPECT_EQ(Stored("type9") + Stored("type1"), "TrueFalse");
  f.settingsAction->trigger();
  EXPECT_EQ(Stored("show"), "0");
  // The printer box starts on the current printer; one picked from the list
  // is saved at once, a typed name only when the focus moves on.
  EXPECT_EQ(f.printerBox->currentText(), printers.CurrentName());
  f.printerBox->setCurrentIndex(f.printerBox->count() - 1);
  emit f.printerBox->activated(f.printerBox->count() - 1);
  EXPECT_EQ(Stored("c1opt"), "Save as PDF");
  f.printerBox->setEditText(QStringLiteral("Gone Printer"));
  EXPECT_EQ(Stored("c1opt"), "Save as PDF");
  f.show();
  QApplication::setActiveWindow(&f);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
  f.printerBox->setFocus(Qt::MouseFocusReason);
  f.linePatternBox->setFocus(Qt::MouseFocusReason);
  EXPECT_EQ(Stored("c1opt"), "Gone Printer");

  MainWindow& g = Restart();
  for (const auto& [key, box, value] : texts) EXPECT_EQ((g.*box)->text(), value) << key;
  for (const auto& [key, box, value, restored] : checks) EXPECT_EQ((g.*box)->Value(), restored) << key;
  EXPECT_TRUE(g.eanChoice->isChecked());
  EXPECT_TRUE(g.settingsPanel->isHidden());
  EXPECT_EQ(g.printerBox->currentText(), "Gone Printer");
  EXPECT_EQ(g.pictureOptions().fontSize, 10);  // the restored font size applies to the text line
  EXPECT_TRUE(dialogs.shown.empty());
}

// Hand-written stores: words in any case and numbers, checks rounded half to
// even, a missing type1 read as True, the first of several True winning, none
// selected drawing Code 39. A value that cannot be converted reaches the error
// path once: it names the key, deletes the store and ends the program. A store
// that cannot be read or deleted (a folder, a FIFO that would block, garbage
// bytes) starts on the defaults instead, or every start would end.
TEST_F(OptionsTest, HandWrittenStoresAreReadWithTheirConversionsOrReachTheErrorPathOnceAndUnreadableOnesAreTheDefaults) {
  const struct {
    const char* store;
    QRadioButton* MainWindow::*selected;
    const char* checks;  // includePattern, textLine, columns
    bool hidden;
    const char* wrongKey;
  } cases[] = {
      {"type1=False\ntype2=True\nshow=0\n", &MainWindow::code39Choice, "000", true, nullptr},
      {"type1= false \ntype2=0\ntype4=-1\ncheck1=1.5\ncheck2=0.5\nCheckqq= 1 \nshow=1\n", &MainWindow::code128PatternChoice, "201", false, nullptr},
      {"type8=True\ntype9=True\n", &MainWindow::code128BChoice, "000", false, nullptr},
      {"type1=False\ntype8=True\ntype9=True\n", &MainWindow::upcAChoice, "000", false, nullptr},
      {"type1=False\ntype2=False\ntype4=0\ntype5=0\ntype8=0\ntype9=0\n", nullptr, "000", false, nullptr},
      {"type9=Yes\n", {}, {}, {}, "type9"}, {"type4=\n", {}, {}, {}, "type4"}, {"check1=3\n", {}, {}, {}, "check1"},
      {"Checkqq=x\n", {}, {}, {}, "Checkqq"}, {"check2=2.6\n", {}, {}, {}, "check2"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.store);
    WriteStore(QByteArray("[options]\nline=keep\ntext8=2\n") + c.store);
    dialogs.endStatus.reset();
    MainWindow& f = Restart();
    const QStringList shown = dialogs.Take();
    EXPECT_EQ(dialogs.endStatus.has_value(), c.wrongKey != nullptr);
    if (c.wrongKey) {
      ASSERT_EQ(shown.size(), 1);
      EXPECT_TRUE(shown[0].contains(c.wrongKey));
      EXPECT_TRUE(shown[0].endsWith("\r\n\r\nError in Settings, Default Settings will be restored and Quillon should be restarted"));
      EXPECT_TRUE(QSettings(StoreFile(), QSettings::IniFormat).allKeys().isEmpty());
      continue;
    }
    EXPECT_TRUE(shown.isEmpty());
    for (auto o : {&MainWindow::code128BChoice, &MainWindow::code39Choice, &MainWindow::code128PatternChoice, &MainWindow::interleaved25Choice, &MainWindow::upcAChoice, &MainWindow::eanChoice})
      EXPECT_EQ((f.*o)->isChecked(), o == c.selected) << (f.*o)->text().toStdString();
    EXPECT_EQ(QStringLiteral("%1%2%3").arg(f.includePatternCheck->Value()).arg(f.textLineCheck->Value()).arg(f.columnsCheck->Value()), c.checks);
    EXPECT_EQ(f.settingsPanel->isHidden(), c.hidden);
    EXPECT_EQ(f.linePatternBox->text() + f.barHeightBox->text(), "keep2");
    if (c.selected) continue;
    f.barcodeText->setText(QStringLiteral("AB"));
    EXPECT_TRUE(f.chosenSymbology() == barcode::Symbology::Code39 && f.finishedPicture().Drawn());
  }
  dialogs.endStatus.reset();
  const QString path = StoreFile();
  QFile::remove(path);
  ASSERT_TRUE(QDir().mkpath(path + QStringLiteral("/sub")));  // a folder in place of the file
  EXPECT_EQ(Restart().stretchWidthBox->text(), "500");
  ASSERT_TRUE(QDir(path).removeRecursively());
  ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
  EXPECT_EQ(Restart().barHeightBox->text(), "1.4");
  QFile::remove(path);
  QByteArray garbage;
  for (int i = 0; i < 4096; ++i) garbage.append(static_cast<char>((i * 7919 + 13) % 256));
  WriteStore(garbage);
  EXPECT_EQ(Restart().stretchWidthBox->text(), "500");
  EXPECT_TRUE(dialogs.shown.empty() && !dialogs.endStatus.has_value());
  QSettings ini(path, QSettings::IniFormat);  // the first write left a clean file
  EXPECT_EQ(ini.status(), QSettings::NoError);
  EXPECT_EQ(ini.value(QStringLiteral("options/text9")).toString(), "500");
}

// A writer killed (SIGKILL) at random moments leaves a store that parses and
// that the window starts on: the file as it was before a write or after it.
TEST_F(OptionsTest, AWriterKilledMidStreamLeavesAStoreTheWindowStartsOn) {
  // The order the writer saves its keys in.
  const QStringList order{"line", "type1", "type2", "type4", "type5", "type8", "type9", "checkqq", "checkprintline",
                          "check1", "check2", "file", "text8", "font", "barcodeoffset14", "barcodeoffset15",
                          "c1opt", "text9", "show"};
  const QString path = test_support::StoreFile();
  QRandomGenerator random(20261206);
  for (int kill = 0; kill < 12; ++kill) {
    SCOPED_TRACE(kill);
    settings.DeleteApplication(window::kApp);
    QProcess writer;
    writer.start(QStringLiteral(QUILLON_SETTINGS_WRITER), {});
    ASSERT_TRUE(writer.waitForStarted());
    QElapsedTimer started;  // from its first write on (the machine may be busy), a random moment
    started.start();
    while (!QFile::exists(path) && started.elapsed() < 20000) QThread::msleep(2);
    QThread::msleep(random.bounded(400));
    writer.kill();
    ASSERT_TRUE(writer.waitForFinished());
    // Every write replaces the whole file: the keys are the first k of the
    // order and every value is complete.
    QSettings ini(path, QSettings::IniFormat);
    ASSERT_EQ(ini.status(), QSettings::NoError);
    ini.beginGroup(QStringLiteral("options"));
    const QStringList keys = ini.childKeys();
    for (const QString& k : keys) EXPECT_TRUE(order.first(keys.size()).contains(k, Qt::CaseInsensitive)) << k.toStdString();
    const QString line = ini.value(QStringLiteral("line")).toString();
    ASSERT_TRUE(line.startsWith(QString(30000, QLatin1Char('p'))) && line.size() > 30000) << line.size();
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(Restart().linePatternBox->text(), line);
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_FALSE(dialogs.endStatus.has_value());  // no settings error path
  }
  // No lock is left to stall the next writer. (A writer killed before its
  // rename may leave its unfinished temporary file, never a broken store.)
  QStringList left = QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden);
  left.removeIf([](const QString& name) { return QRegularExpression("^Quillon\\.conf\\.\\w{6}$").match(name).hasMatch(); });
  EXPECT_EQ(left, QStringList{"Quillon.conf"});
}

TEST_F(OptionsTest, RestoreDefaultSettingsAsksFirst) {
  window().linePatternBox->setText(QStringLiteral("mine"));
  dialogs.answers = {false, true};
  window().restoreDefaultsAction->trigger();
  EXPECT_EQ(dialogs.Take(), QStringList{"Are you sure you want to restore default settings?"});
  EXPECT_FALSE(dialogs.endStatus.has_value());
  EXPECT_EQ(Stored("line"), "mine");
  window().restoreDefaultsAction->trigger();
  EXPECT_EQ(dialogs.Take().value(1), "Quillon will now exit and should be restarted ");
  EXPECT_TRUE(dialogs.endStatus.has_value());
  EXPECT_FALSE(QFile::exists(StoreFile()));
}

TEST_F(OptionsTest, MenusInOrderEachEntryWithItsOwnAccessKeyAndTheirCommands) {
  const QStringList expected[] = {
      {"&File", "File &Open", "Save Bar Code &As...", "Print Pre&view...", "&Help", "-", "E&xit"},
      {"&Edit", "&Bar Code", "&Print", "&Open File", "Print &File", "&Copy Bar Code to Clipboard"},
      {"&Options", "&Hide Settings", "&Restore Default Settings", "&Label Sheet..."},
      {"&Help", "&Help", "&About"}};
  const QList<QAction*> menus = window().menuBar()->actions();
  ASSERT_EQ(menus.size(), 4);
  for (int m = 0; m < 4; ++m) {
    QStringList entries{menus[m]->text()}, keys;
    for (QAction* a : menus[m]->menu()->actions()) {
      entries << (a->isSeparator() ? QStringLiteral("-") : a->text());
      if (!a->isSeparator()) keys << QKeySequence::mnemonic(a->text()).toString();
    }
    EXPECT_EQ(entries, expected[m]);
    EXPECT_FALSE(keys.contains(QString())) << keys.join(' ').toStdString();
    EXPECT_EQ(keys.removeDuplicates(), 0) << entries.join(' ').toStdString();
  }
  const std::pair<QAction*, const char*> shortcuts[] = {
      {window().exitAction, "Ctrl+Q"}, {window().printAction, "Ctrl+P"}, {window().fileOpenAction, "Ctrl+O"}, {window().helpAction, "F1"}};
  for (const auto& [action, keys] : shortcuts) EXPECT_EQ(action->shortcut().toString(), keys);

  // Help, from either menu, and About: OK boxes titled with the version.
  for (QAction* a : {window().fileHelpAction, window().helpAction, window().aboutAction}) a->trigger();
  ASSERT_EQ(dialogs.shown.size(), 3u);
  const QString& help = dialogs.shown[0].text;  // six lines, each ended by CR LF
  EXPECT_TRUE(help.startsWith("Ostrand 2.1 Prints bar code found in specified text files. \r\n") &&
              help.count("\r\n") == 6 &&
              help.endsWith("\r\nfile that you would like to print.  For Example \"quillon ~/labels/order1.txt\"\r\n"))
      << help.toStdString();
  EXPECT_EQ(dialogs.shown[1].text, dialogs.shown[0].text);
  EXPECT_TRUE(dialogs.shown[2].text.startsWith("Quillon 4.1 \r\n"));
  for (const auto& box : dialogs.shown) EXPECT_EQ(box.title, "Quillon 4.1");

  // The Edit entries run the buttons' commands.
  dialogs.shown.clear();
  window().printAction->trigger();
  window().barcodeText->setText("AB\u00e9");
  window().generateAction->trigger();  // Code 128 B's box for a refused character
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[0].text, "Please Generate Barocode to print  ");
  window().barcodeText->setText("AB");

  // Save Bar Code As: the finished picture by the file's ending (what each
  // kind holds: the command line's export tests, through the same export);
  // the chooser opens where the last went.
  QTemporaryDir out;
  QStringList answers = {"", out.filePath("b.pdf"), out.filePath("b.svg")};
  QStringList folders;
  window().ChooseSavePath = [&](const QString& folder) { return folders << folder, answers.takeFirst(); };
  for (int i = 0; i < 3; ++i) window().saveAsAction->trigger();
  EXPECT_EQ(folders, (QStringList{"", "", out.path()}));
  EXPECT_EQ(test_support::DecodeFile(out.filePath("b.pdf"), "code128", "AB").exitCode, 0);
  EXPECT_TRUE(QFile::exists(out.filePath("b.svg")));
  EXPECT_EQ(window().StatusText(), "Barcode saved as " + out.filePath("b.svg"));
  // Its "Open folder" says so when no file manager answers.
  QString asked;
  window().OpenFolder = [&asked](const QString& folder) { return asked = folder, false; };
  for (QLabel* link : window().statusBar()->findChildren<QLabel*>())
    if (link->text().contains("Open folder")) emit link->linkActivated("folder");
  EXPECT_EQ(asked, out.path());
  EXPECT_EQ(window().StatusText(), "Could not open " + out.path() + ": no file manager answered");
  EXPECT_FALSE(dialogs.endStatus.has_value());
  window().close();
  EXPECT_EQ(dialogs.endStatus, 0);
}

// The controls of the settings panel and the offsets that the window's inner
// area cannot show whole, each scrolled to in turn.
QStringList OutOfView(MainWindow& w) {
  QStringList out;
  QWidget* view = w.clientView->viewport();
  for (QWidget* c : w.Client->findChildren<QWidget*>()) {
    const bool control = qobject_cast<QAbstractButton*>(c) || qobject_cast<QLineEdit*>(c) || qobject_cast<QComboBox*>(c);
    const bool lower = w.settingsPanel->isAncestorOf(c) || w.offsetGroup->isAncestorOf(c);
    if (!control || !lower || !c->isVisibleTo(&w)) continue;
    const QRect place(c->mapTo(w.Client, QPoint()), c->size());
    w.clientView->ensureVisible(place.center().x(), place.center().y(), place.width() / 2 + 1, place.height() / 2 + 1);
    if (!view->rect().contains(QRect(c->mapTo(view, QPoint()), c->size())))
      out << QStringLiteral("%1 at %2,%3").arg(c->metaObject()->className()).arg(place.x()).arg(place.y());
  }
  return out;
}

// At scale 1 here, and at scale 2 in a second run of this test (an 800 x 800
// screen, 400 x 400 at scale 2).
TEST_F(OptionsTest, EveryCaptionIsWholeNoControlsOverlapAndThePanelShowsWholeAtScaleOneAndTwo) {
  window().show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
  const QStringList problems = test_support::LayoutProblems(&window());
  EXPECT_TRUE(problems.isEmpty()) << "at scale " << window().devicePixelRatio() << ":\n"
                                  << problems.join('\n').toStdString();
  // Hiding the panel ends the window under the button row, nothing below to
  // scroll to; showing it shows every control, at scale 2 on the small screen
  // by scrolling to each. The window never outgrows the screen's free area.
  const QRect screen = window().screen()->availableGeometry();
  for (const auto& [caption, hidden, show] : {std::tuple{"&Show Settings", true, "0"}, {"&Hide Settings", false, "1"}}) {
    window().settingsAction->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(window().settingsAction->text(), caption);
    EXPECT_EQ(window().settingsPanel->isHidden(), hidden);
    EXPECT_EQ(Stored("show"), show);
    const QSize outer = window().frameGeometry().size();
    EXPECT_TRUE(outer.width() <= screen.width() && outer.height() <= screen.height()) << screen.width() << "x" << screen.height();
    const int down = window().clientView->verticalScrollBar()->maximum();
    EXPECT_TRUE(window().devicePixelRatio() > 1 || down + window().clientView->horizontalScrollBar()->maximum() == 0);
    EXPECT_TRUE(!hidden || down == 0);  // nothing below to scroll to
    const QStringList unseen = hidden ? QStringList() : OutOfView(window());
    EXPECT_TRUE(unseen.isEmpty()) << unseen.join('\n').toStdString();
  }
  if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) {
    EXPECT_EQ(window().devicePixelRatio(), 2.0);
    return;
  }
  QProcess twice;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_SCALE_FACTOR", "2");
  twice.setProcessEnvironment(env);
  twice.setProcessChannelMode(QProcess::MergedChannels);
  twice.start(QCoreApplication::applicationFilePath(),
              {"--gtest_filter=OptionsTest.EveryCaptionIsWholeNoControlsOverlapAndThePanelShowsWholeAtScaleOneAndTwo"});
  ASSERT_TRUE(twice.waitForFinished(60000));
  EXPECT_EQ(twice.exitCode(), 0) << twice.readAll().toStdString();
}

}  // namespace
