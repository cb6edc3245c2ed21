// A writer killed (SIGKILL) at random moments leaves a store that parses and
// that the window starts on: the file as it was before a write or after it.
#include "support/window_fixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSettings>
#include <QThread>

namespace {

using StoreKillTest = test_support::WindowTest;

TEST_F(StoreKillTest, AWriterKilledMidStreamLeavesAStoreTheWindowStartsOn) {
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

}  // namespace
