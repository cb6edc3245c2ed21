#include "platform/settings_store.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

const QString kApp = QStringLiteral("QuillonStoreTest");

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { store.DeleteApplication(kApp); }
  void TearDown() override { store.DeleteApplication(kApp); }
  platform::SettingsStore store;
};

TEST_F(SettingsStoreTest, LivesInTheUsersConfigFolderAsAnIniGroup) {
  EXPECT_EQ(store.FilePath(kApp),
            QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath(kApp + "/" + kApp + ".conf"));
  ASSERT_TRUE(store.SaveSetting(kApp, QStringLiteral("options"), QStringLiteral("text8"), QStringLiteral("2")));
  QFile f(store.FilePath(kApp));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QString content = QString::fromUtf8(f.readAll());
  EXPECT_TRUE(content.contains(QStringLiteral("[options]"))) << content.toStdString();
  EXPECT_TRUE(content.contains(QStringLiteral("text8=2"))) << content.toStdString();
}

TEST_F(SettingsStoreTest, MissingKeysGiveTheDefaultAndKeysMatchWithoutCase) {
  EXPECT_EQ(store.GetSetting(kApp, "FileSettings", "FilePath", "c:\\"), "c:\\");
  store.SaveSetting(kApp, "FileSettings", "File1Path", "/home/a b");
  EXPECT_EQ(store.GetSetting(kApp, "filesettings", "file1Path", ""), "/home/a b");
  // A write keeps the stored spelling: one key, not two.
  store.SaveSetting(kApp, "FILESETTINGS", "FILE1PATH", "x, y");
  QFile f(store.FilePath(kApp));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QString content = QString::fromUtf8(f.readAll());
  EXPECT_EQ(content.count(QStringLiteral("ile1"), Qt::CaseInsensitive), 1) << content.toStdString();
  EXPECT_TRUE(content.contains(QStringLiteral("File1Path="))) << content.toStdString();
  EXPECT_EQ(store.GetSetting(kApp, "FileSettings", "File1Path", ""), "x, y");
}

TEST_F(SettingsStoreTest, DeletingTheApplicationRemovesEverySection) {
  store.SaveSetting(kApp, "options", "a", "1");
  store.SaveSetting(kApp, "other", "b", "2");
  EXPECT_TRUE(store.DeleteApplication(kApp));
  EXPECT_EQ(store.GetSetting(kApp, "options", "a", "none"), "none");
  EXPECT_EQ(store.GetSetting(kApp, "other", "b", "none"), "none");
}

TEST_F(SettingsStoreTest, AReadOnlyStoreChangesNothing) {
  store.SaveSetting(kApp, "options", "a", "1");
  store.SetReadOnly(true);
  store.SaveSetting(kApp, "options", "a", "2");
  store.DeleteApplication(kApp);
  store.SetReadOnly(false);
  EXPECT_EQ(store.GetSetting(kApp, "options", "a", ""), "1");
}

TEST_F(SettingsStoreTest, ALineThatIsNotInTheFormatLosesOnlyItself) {
  const QString path = store.FilePath(kApp);
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("[options]\ntype1=False\nthis line has no equals sign\ntype2=True\n");
  f.close();
  EXPECT_EQ(store.GetSetting(kApp, "options", "type1", ""), "False");
  EXPECT_EQ(store.GetSetting(kApp, "options", "type2", ""), "True");
  EXPECT_TRUE(store.SaveSetting(kApp, "options", "show", "0"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QString content = QString::fromUtf8(f.readAll());
  EXPECT_FALSE(content.contains(QStringLiteral("equals"))) << content.toStdString();
  EXPECT_EQ(store.GetSetting(kApp, "options", "type2", ""), "True");
}

TEST_F(SettingsStoreTest, AFolderOrAPipeInPlaceOfTheFileReadsAsEmptyAndIsLeftAlone) {
  const QString path = store.FilePath(kApp);
  ASSERT_TRUE(QDir().mkpath(path));
  EXPECT_EQ(store.GetSetting(kApp, "options", "a", "dflt"), "dflt");
  EXPECT_FALSE(store.SaveSetting(kApp, "options", "a", "1"));
  EXPECT_FALSE(store.DeleteApplication(kApp));
  EXPECT_TRUE(QFileInfo(path).isDir());
  ASSERT_TRUE(QDir().rmdir(path));
  // Opening a pipe for reading would wait for a writer for ever.
  ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
  EXPECT_EQ(store.GetSetting(kApp, "options", "a", "dflt"), "dflt");
  EXPECT_FALSE(store.SaveSetting(kApp, "options", "a", "1"));
  ASSERT_TRUE(QFile::remove(path));
}

TEST_F(SettingsStoreTest, AnEmptyLockLeftByAKilledWriterDoesNotStallTheNextWrite) {
  ASSERT_TRUE(store.SaveSetting(kApp, "options", "a", "1"));
  QFile lock(store.FilePath(kApp) + QStringLiteral(".lock"));
  ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
  lock.setFileTime(QDateTime::currentDateTime().addSecs(-5), QFileDevice::FileModificationTime);
  lock.close();
  QElapsedTimer clock;
  clock.start();
  EXPECT_TRUE(store.SaveSetting(kApp, "options", "a", "2"));
  EXPECT_LT(clock.elapsed(), 3000);  // Qt alone waits until the lock is half a minute old
  EXPECT_EQ(store.GetSetting(kApp, "options", "a", ""), "2");
}

}  // namespace
