#include "platform/settings_store.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

namespace {

const QString kApp = "QuillonStoreTest";

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { store.DeleteApplication(kApp); }
  void TearDown() override { store.DeleteApplication(kApp); }
  platform::SettingsStore store;
};

// An INI file in the config folder whose keys match without case and keep
// their first spelling; deleting the application removes every section.
TEST_F(SettingsStoreTest, AnIniFileInTheConfigFolderWithKeysInAnyCaseDeletedWhole) {
  EXPECT_EQ(store.FilePath(kApp), QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath(kApp + "/" + kApp + ".conf"));
  EXPECT_EQ(store.GetSetting(kApp, "FileSettings", "FilePath", "c:\\"), "c:\\");
  ASSERT_TRUE(store.SaveSetting(kApp, "FileSettings", "File1Path", "/home/a b"));
  EXPECT_EQ(store.GetSetting(kApp, "filesettings", "file1Path", ""), "/home/a b");
  ASSERT_TRUE(store.SaveSetting(kApp, "FILESETTINGS", "FILE1PATH", "x, y"));  // the same key
  EXPECT_EQ(store.GetSetting(kApp, "FileSettings", "File1Path", ""), "x, y");
  QFile f(store.FilePath(kApp));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QString content = QString::fromUtf8(f.readAll());
  EXPECT_TRUE(content.contains("[FileSettings]") && content.contains("File1Path=")) << content.toStdString();
  EXPECT_EQ(content.count("ile1", Qt::CaseInsensitive), 1) << content.toStdString();

  store.SaveSetting(kApp, "other", "b", "2");
  EXPECT_TRUE(store.DeleteApplication(kApp));
  EXPECT_EQ(store.GetSetting(kApp, "FileSettings", "File1Path", "none") + store.GetSetting(kApp, "other", "b", "none"), "nonenone");
}

TEST_F(SettingsStoreTest, AnEmptyLockLeftByAKilledWriterDoesNotStallTheNextWrite) {
  ASSERT_TRUE(store.SaveSetting(kApp, "options", "a", "1"));
  QFile lock(store.FilePath(kApp) + ".lock");
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
