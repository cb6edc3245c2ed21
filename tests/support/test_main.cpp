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
  qputenv("XDG_CONFIG_HOME", QDir(home.path()).filePath(QStringLiteral("config")).toLocal8Bit());
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    QDir(home.path()).mkdir(QStringLiteral("runtime"));
    QFile::setPermissions(QDir(home.path()).filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QDir(home.path()).filePath(QStringLiteral("runtime")).toLocal8Bit());
  }
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
