// The file chooser, driven headless: what it lists, the path it makes, the
// mirror with the main window's path box, what OK remembers, and the resize
// rules.
#include "file_chooser/form2.h"
#include "platform/controls.h"
#include "platform/drives.h"
#include "support/form_fixture.h"
#include "support/printed_pages.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <algorithm>

namespace {

using file_chooser::Form2;

QStringList Items(const QListWidget* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
  return items;
}

class ChooserTest : public test_support::FormTest {
 protected:
  void SetUp() override {
    settings.DeleteApplication(file_chooser::kApp);
    for (const char* name : {"a.txt", "B.TXT", "-x \xc3\xbc.txt", "c.csv", ".hidden.txt", "sub/d.txt"})
      ASSERT_TRUE(test_support::WriteFile(folder.filePath(QString::fromUtf8(name)), "ID:1\n"));
    previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
  }
  void TearDown() override {
    QDir::setCurrent(previous);
    settings.DeleteApplication(file_chooser::kApp);
  }
  Form2& Open() {
    form().Command3->click();
    Form2* chooser = form().OpenChooser();
    EXPECT_NE(chooser, nullptr);
    return *chooser;
  }
  void Click(Form2& chooser, const QString& name) {
    const auto found = chooser.File1->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    chooser.File1->setCurrentItem(found[0]);
  }
  QTemporaryDir tmp;
  QDir folder{tmp.path()};
  QString previous;
};

TEST_F(ChooserTest, FirstUseShowsTheCurrentFolderOfTheRootDriveAndAClickReachesTheMainWindowBeforeOk) {
  if (platform::DriveOf(folder.path()) != "/") GTEST_SKIP() << "the temporary folder is not on the root drive";
  Form2& chooser = Open();
  EXPECT_EQ(chooser.Text2->text(), "");
  EXPECT_EQ(chooser.Drive(), "/");
  EXPECT_EQ(chooser.Dir1->Path(), folder.path());
  EXPECT_EQ(Items(chooser.File1), (QStringList{"-x \xc3\xbc.txt", "a.txt", "B.TXT"}));
  for (const char* pseudo : {"/proc", "/sys", "/dev", "/run"}) EXPECT_EQ(chooser.Drive1->findText(pseudo), -1);

  // Opening again brings up the one chooser; the main window's path box and
  // the chooser's follow each other.
  for (QAction* entry : {form().FileOpen, form().OpenFileTemp}) entry->trigger();
  form().Command5->click();
  EXPECT_EQ(form().OpenChooser(), &chooser);
  const auto windows = QApplication::topLevelWidgets();
  EXPECT_EQ(std::count_if(windows.begin(), windows.end(), [](QWidget* w) { return w->windowTitle() == "File"; }), 1);
  form().Text5->setText("typed");
  form().Text5->setCursorPosition(2);
  QTest::keyClick(form().Text5, 'X');  // typing inside the path keeps the cursor there
  EXPECT_EQ(chooser.Text2->text(), "tyXped");
  EXPECT_EQ(form().Text5->cursorPosition(), 3);
  Click(chooser, "-x \xc3\xbc.txt");
  const QString path = folder.filePath("-x \xc3\xbc.txt");
  EXPECT_EQ(chooser.Text2->text(), path);
  EXPECT_EQ(form().Text5->text(), path);
  chooser.Command2->click();  // Cancel keeps the path and saves nothing of the chooser's
  EXPECT_EQ(form().OpenChooser(), nullptr);
  EXPECT_EQ(form().FilePath, path);
  EXPECT_EQ(settings.GetSetting(file_chooser::kApp, file_chooser::kSection, "FilePath", "none"), "none");
  form().Text5->setText("after");  // a closed chooser does not come back
  EXPECT_EQ(form().OpenChooser(), nullptr);

  // The chosen file is one Print File opens (blank, non-ASCII letter, leading dash).
  form().Text5->setText(path);
  form().Combo1->setEditText(platform::kSaveAsPdf);
  form().Command4->click();
  EXPECT_EQ(form().LastFileRun().status, printing::FileRunResult::Status::Sent) << form().LastFileRun().message.toStdString();

  // A file in "/" itself: one separator.
  const QString inRoot = QString("/quillon-chooser-%1.txt").arg(QCoreApplication::applicationPid());
  if (!test_support::WriteFile(inRoot, "x")) GTEST_SKIP() << "cannot write a file into /";
  Form2& again = Open();
  again.Dir1->SetPath("/");
  Click(again, inRoot.mid(1));
  EXPECT_EQ(again.Text2->text(), inRoot);
  QFile::remove(inRoot);
  again.close();
}

TEST_F(ChooserTest, OkRemembersDriveFolderAndPathAndAnEmptyPathIsRefused) {
  Form2& chooser = Open();
  chooser.Text2->clear();
  chooser.Command1->click();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "Please Speicify a file ");
  EXPECT_EQ(form().OpenChooser(), nullptr);
  EXPECT_EQ(settings.GetSetting(file_chooser::kApp, file_chooser::kSection, "Dir1Path", "none"), "none");

  Form2& first = Open();
  first.Dir1->SetPath(folder.filePath("sub"));
  Click(first, "d.txt");
  first.Command1->click();
  EXPECT_EQ(form().FilePath, folder.filePath("sub/d.txt"));
  QDir::setCurrent("/");
  form().Text5->setText("elsewhere");
  Form2& next = Open();
  EXPECT_EQ(next.Text2->text(), folder.filePath("sub/d.txt"));
  EXPECT_EQ(form().Text5->text(), folder.filePath("sub/d.txt"));
  EXPECT_EQ(next.Dir1->Path(), folder.filePath("sub"));
  EXPECT_EQ(next.File1->Path(), folder.filePath("sub"));
  EXPECT_EQ(Items(next.File1), QStringList{"d.txt"});
  next.close();

  // A Windows drive letter is the root; a folder that is gone is ignored.
  settings.SaveSetting(file_chooser::kApp, file_chooser::kSection, "Drive1Drive", "D:\\");
  settings.SaveSetting(file_chooser::kApp, file_chooser::kSection, "Dir1Path", folder.filePath("gone"));
  Form2& old = Open();
  EXPECT_EQ(old.Drive(), "/");
  EXPECT_EQ(old.Dir1->Path(), "/");
  old.close();
}

TEST_F(ChooserTest, TallerThan1750TwipsMovesTheButtonsAndStretchesTheLists) {
  Form2& chooser = Open();
  const auto px = [](double twips) { return platform::TwipsToPixels(twips); };
  const int dirHeight = chooser.Dir1->height(), fileHeight = chooser.File1->height(), top = chooser.Command1->y();
  chooser.LayOut(4560, 1750);  // widths follow; heights and buttons stay where they were
  EXPECT_EQ(chooser.Text2->width(), px(4260));
  EXPECT_EQ(chooser.Dir1->width(), px(2280));
  EXPECT_EQ(chooser.Drive1->width(), px(2280));
  EXPECT_EQ(chooser.File1->width(), px(1980));
  EXPECT_NEAR(chooser.File1->x(), px(2480), 1);  // the folder list's width (whole pixels) + 200
  EXPECT_EQ(chooser.Dir1->height(), dirHeight);
  EXPECT_EQ(chooser.File1->height(), fileHeight);
  EXPECT_EQ(chooser.Command1->y(), top);
  chooser.LayOut(4560, 3190);  // the design's height with a caption
  EXPECT_EQ(chooser.Dir1->height(), px(1440));
  EXPECT_EQ(chooser.File1->height(), px(480 + 1440));
  EXPECT_EQ(chooser.Command1->y(), px(1440 + 840 + 200));
  chooser.LayOut(300, 1765);
  EXPECT_EQ(chooser.File1->width(), 0);  // would be negative
  EXPECT_EQ(chooser.Dir1->height(), px(15));
  EXPECT_EQ(chooser.Command2->y(), px(15 + 840 + 200));
  // A real resize lays out by the outer size.
  chooser.resize(400, 300);
  QCoreApplication::processEvents();
  const auto twips = [](int pixels) { return pixels * platform::kTwipsPerPixel / platform::kLayoutScale; };
  const double h = twips(chooser.frameGeometry().height());
  EXPECT_EQ(chooser.Command1->y(), px(twips(chooser.Dir1->height()) + 840 + 200));
  EXPECT_EQ(chooser.Dir1->height(), px(h - 1750));
  chooser.close();
}

TEST_F(ChooserTest, AMountedFileSystemIsADriveThatOpensAtItsMountPoint) {
  const test_support::Tmpfs mount("size=1m");
  if (mount.Path().isEmpty()) GTEST_SKIP() << mount.Problem().toStdString();
  ASSERT_TRUE(test_support::WriteFile(mount.Path() + "/on-mount.txt", "x"));
  Form2& chooser = Open();
  EXPECT_TRUE(chooser.SetDrive(mount.Path()));
  EXPECT_EQ(chooser.Dir1->Path(), mount.Path());
  EXPECT_EQ(Items(chooser.File1), QStringList{"on-mount.txt"});
  chooser.close();
}

}  // namespace
