// A writer killed (SIGKILL) at random moments leaves a store that parses and
// that the window starts on: either the file before a write or after it.
#include "support/form_fixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QThread>

namespace {

class StoreKillTest : public test_support::FormTest {};

// The order the writer saves its keys in, lower case.
const QStringList kWriteOrder{"line",    "type1",   "type2",  "type4",           "type5",
                              "type8",   "type9",   "checkqq", "checkprintline", "check1",
                              "check2",  "file",    "text8",  "font",            "barcodeoffset14",
                              "barcodeoffset15", "c1opt", "text9", "show"};

TEST_F(StoreKillTest, AWriterKilledMidStreamLeavesAStoreTheWindowStartsOn) {
  const QString path =
      QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath(QStringLiteral("Quillon/Quillon.conf"));
  const QString padding(30000, QLatin1Char('p'));
  QRandomGenerator random(20261206);
  for (int kill = 0; kill < 12; ++kill) {
    SCOPED_TRACE(kill);
    settings.DeleteApplication(main_window::kApp);  // the writer starts on an empty store
    QProcess writer;
    writer.start(QStringLiteral(QUILLON_SETTINGS_WRITER), {});
    ASSERT_TRUE(writer.waitForStarted());
    // From its first write on (the machine may be busy), a random moment.
    QElapsedTimer started;
    started.start();
    while (!QFile::exists(path) && started.elapsed() < 20000) QThread::msleep(2);
    QThread::msleep(random.bounded(400));
    writer.kill();
    ASSERT_TRUE(writer.waitForFinished());
    ASSERT_TRUE(QFile::exists(path));

    // Every write replaces the whole file, so the keys are the first k of the
    // write order and every value is complete.
    QSettings ini(path, QSettings::IniFormat);
    ASSERT_EQ(ini.status(), QSettings::NoError);
    ini.beginGroup(QStringLiteral("options"));
    QStringList keys;
    for (const QString& k : ini.childKeys()) keys << k.toLower();
    ASSERT_FALSE(keys.isEmpty());
    for (const QString& k : keys) EXPECT_LT(kWriteOrder.indexOf(k), keys.size()) << k.toStdString();
    const QString line = ini.value(QStringLiteral("line")).toString();
    ASSERT_TRUE(line.startsWith(padding)) << line.size();
    bool ok = false;
    const qint64 round = line.mid(padding.size()).toLongLong(&ok);
    ASSERT_TRUE(ok) << line.mid(padding.size()).toStdString();
    EXPECT_GE(round, 1);

    // The window starts on it without the error path, promptly.
    dialogs.shown.clear();
    QElapsedTimer clock;
    clock.start();
    main_window::Form1& f = Restart();
    EXPECT_LT(clock.elapsed(), 10000);
    // (A message about the initial text is fine, e.g. Code 2/5 refusing
    // letters; the settings error path is not.)
    for (const auto& shown : dialogs.shown)
      EXPECT_FALSE(shown.text.contains(main_window::kSettingsErrorText)) << shown.text.toStdString();
    EXPECT_FALSE(dialogs.endStatus.has_value());
    EXPECT_EQ(f.Text4->text(), line);
  }
  // Nothing but the store is left beside it (no half-written temporary files,
  // no lock).
  const QStringList left = QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden);
  EXPECT_EQ(left, QStringList{QStringLiteral("Quillon.conf")});
}

}  // namespace
