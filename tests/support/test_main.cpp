// Every test program runs headless on a private settings folder, so no test
// touches the real store.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir home;
  if (!home.isValid()) return 3;
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && QDir(home.path()).mkdir("runtime") &&
      QFile::setPermissions(home.filePath("runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner))
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.filePath("runtime")));
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
