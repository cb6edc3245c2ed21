// The file chooser, driven headless: what it lists, the path it makes, the
// mirror with the main window's path box, what OK remembers, and resizing.
#include "window/file_chooser.h"
#include "window/controls.h"
#include "platform/drives.h"
#include "support/window_fixture.h"
#include "support/printed_pages.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <algorithm>

namespace {

using window::FileChooser;

QStringList Items(const QListWidget* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
  return items;
}

class ChooserTest : public test_support::WindowTest {
 protected:
  void SetUp() override {
    settings.DeleteApplication(window::kChooserApp);
    for (const char* name : {"a.txt", "B.TXT", "-x \xc3\xbc.txt", "c.csv", ".hidden.txt", "sub/d.txt"})
      ASSERT_TRUE(test_support::WriteFile(folder.filePath(QString::fromUtf8(name)), "ID:1\n"));
    previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
  }
  void TearDown() override {
    QDir::setCurrent(previous);
    settings.DeleteApplication(window::kChooserApp);
  }
  FileChooser& Open() {
    window().openFileButton->click();
    FileChooser* chooser = window().OpenChooser();
    EXPECT_NE(chooser, nullptr);
    return *chooser;
  }
  void Click(FileChooser& chooser, const QString& name) {
    const auto found = chooser.fileList->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    chooser.fileList->setCurrentItem(found[0]);
  }
  QTemporaryDir tmp;
  QDir folder{tmp.path()};
  QString previous;
};

TEST_F(ChooserTest, FirstUseShowsTheCurrentFolderOfTheRootDriveAndAClickReachesTheMainWindowBeforeOk) {
  if (platform::DriveOf(folder.path()) != "/") GTEST_SKIP() << "the temporary folder is not on the root drive";
  FileChooser& chooser = Open();
  EXPECT_EQ(chooser.pathBox->text(), "");
  EXPECT_EQ(chooser.Drive(), "/");
  EXPECT_EQ(chooser.folderList->Path(), folder.path());
  EXPECT_EQ(Items(chooser.fileList), (QStringList{"-x \xc3\xbc.txt", "a.txt", "B.TXT"}));
  for (const char* pseudo : {"/proc", "/sys", "/dev", "/run"}) EXPECT_EQ(chooser.driveList->findText(pseudo), -1);

  // Opening again brings up the one chooser; the main window's path box and
  // the chooser's follow each other.
  for (QAction* entry : {window().fileOpenAction, window().openFileAction}) entry->trigger();
  window().browseButton->click();
  EXPECT_EQ(window().OpenChooser(), &chooser);
  const auto windows = QApplication::topLevelWidgets();
  EXPECT_EQ(std::count_if(windows.begin(), windows.end(), [](QWidget* w) { return w->windowTitle() == "File"; }), 1);
  window().filePathBox->setText("typed");
  window().filePathBox->setCursorPosition(2);
  QTest::keyClick(window().filePathBox, 'X');  // typing inside the path keeps the cursor there
  EXPECT_EQ(chooser.pathBox->text(), "tyXped");
  EXPECT_EQ(window().filePathBox->cursorPosition(), 3);
  Click(chooser, "-x \xc3\xbc.txt");
  const QString path = folder.filePath("-x \xc3\xbc.txt");
  EXPECT_EQ(chooser.pathBox->text(), path);
  EXPECT_EQ(window().filePathBox->text(), path);
  // Cancel puts back the path the user typed (window_smoke.sh prints it), and saves nothing of its own.
  chooser.cancelButton->click();
  EXPECT_EQ(window().OpenChooser(), nullptr);
  EXPECT_EQ(settings.GetSetting(window::kChooserApp, window::kChooserSection, "FilePath", "none"), "none");

  // A file in "/" itself: one separator.
  const QString inRoot = QString("/quillon-chooser-%1.txt").arg(QCoreApplication::applicationPid());
  if (!test_support::WriteFile(inRoot, "x")) GTEST_SKIP() << "cannot write a file into /";
  FileChooser& again = Open();
  again.folderList->SetPath("/");
  Click(again, inRoot.mid(1));
  EXPECT_EQ(again.pathBox->text(), inRoot);
  QFile::remove(inRoot);
  again.close();
}

TEST_F(ChooserTest, OkRemembersDriveFolderAndPathAndAnEmptyPathIsRefused) {
  FileChooser& chooser = Open();
  chooser.pathBox->clear();
  chooser.okButton->click();
  EXPECT_EQ(dialogs.Take(), QStringList{"Please Speicify a file "});
  EXPECT_EQ(window().OpenChooser(), nullptr);
  EXPECT_EQ(settings.GetSetting(window::kChooserApp, window::kChooserSection, "Dir1Path", "none"), "none");

  FileChooser& first = Open();
  first.folderList->SetPath(folder.filePath("sub"));
  Click(first, "d.txt");
  first.okButton->click();
  EXPECT_EQ(window().FilePath, folder.filePath("sub/d.txt"));
  EXPECT_EQ(settings.GetSetting(window::kApp, window::kSection, "file", "none"), folder.filePath("sub/d.txt"));
  QDir::setCurrent("/");
  // A path typed in the main window stays as it is, and the lists open on its
  // folder (the home folder for "~"; the saved one when it has none); closing
  // puts back the typed path.
  const QString home = QDir::homePath();
  for (const auto& [typed, shownFolder] : {std::pair{folder.filePath("a.txt"), folder.path()},
                                           {QString("~/none.txt"), home}, {QString("/gone/none.txt"), folder.filePath("sub")}}) {
    window().filePathBox->setText(typed);
    FileChooser& typedOn = Open();
    EXPECT_EQ(typedOn.pathBox->text(), typed);
    EXPECT_EQ(typedOn.folderList->Path(), shownFolder);
    typedOn.pathBox->setText("chosen");
    EXPECT_EQ(window().FilePath, "chosen");
    typedOn.close();
    EXPECT_EQ(window().filePathBox->text(), typed);
    EXPECT_EQ(settings.GetSetting(window::kApp, window::kSection, "file", "none"), typed);
  }
  // With nothing typed, the saved path and folder come back.
  window().filePathBox->clear();
  FileChooser& next = Open();
  EXPECT_EQ(next.pathBox->text(), folder.filePath("sub/d.txt"));
  EXPECT_EQ(window().filePathBox->text(), folder.filePath("sub/d.txt"));
  EXPECT_EQ(next.folderList->Path(), folder.filePath("sub"));
  EXPECT_EQ(Items(next.fileList), QStringList{"d.txt"});
  next.close();

  // A Windows drive letter is the root; a folder that is gone is ignored.
  settings.SaveSetting(window::kChooserApp, window::kChooserSection, "Drive1Drive", "D:\\");
  settings.SaveSetting(window::kChooserApp, window::kChooserSection, "Dir1Path", folder.filePath("gone"));
  FileChooser& old = Open();
  EXPECT_EQ(old.Drive(), "/");
  EXPECT_EQ(old.folderList->Path(), "/");
  old.close();
}

// Resized, the lists take the extra room and the buttons move down with
// them; from the first size on, nothing is cut or covered.
TEST_F(ChooserTest, ResizedTheListsTakeTheRoomAndNothingIsCutOrCovered) {
  FileChooser& chooser = Open();
  chooser.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&chooser));
  const QSize first = chooser.size(), dirs = chooser.folderList->size(), files = chooser.fileList->size();
  const int gap = chooser.okButton->y() - chooser.folderList->geometry().bottom();
  for (const QSize grown : {QSize(0, 0), QSize(280, 240)}) {
    chooser.resize(first + grown);
    QCoreApplication::processEvents();
    EXPECT_EQ(test_support::LayoutProblems(&chooser), QStringList());
    EXPECT_NEAR((chooser.folderList->size() - dirs).height(), grown.height(), 1);
    EXPECT_NEAR((chooser.fileList->size() - files).width(), grown.width() / 2, 1);
    EXPECT_EQ(chooser.okButton->y() - chooser.folderList->geometry().bottom(), gap);
  }
  chooser.layOut(300, 1750);  // too narrow: the file list's width would be negative
  EXPECT_EQ(chooser.fileList->width(), 0);
  chooser.close();
}

}  // namespace
