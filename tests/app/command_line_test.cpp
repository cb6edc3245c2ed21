// The command line of the built program, run as a user would run it.
#include "support/decode.h"
#include "support/printed_pages.h"

#include <QDir>
#include "support/printed_pages.h"

#include <QDir>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Result {
  int exitCode = -1;
  QString out;
  QString err;
};

Result Quillon(const QStringList& args, bool withDisplayVariables = false,
               const QProcessEnvironment& extra = QProcessEnvironment()) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const QString& key : extra.keys()) env.insert(key, extra.value(key));
  if (!withDisplayVariables) {
    // Headless, as CI: the program must pick the offscreen platform itself.
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
  }
  p.setProcessEnvironment(env);
  p.start(QStringLiteral(QUILLON_BINARY), args);
  Result r;
  if (!p.waitForFinished(60000)) return r;
  r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
  r.err = QString::fromLocal8Bit(p.readAllStandardError());
  return r;
}

class CommandLineTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString Out(const QString& name) const { return dir.filePath(name); }
};

TEST_F(CommandLineTest, HelpAndVersion) {
  const Result help = Quillon({QStringLiteral("--help")});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(help.out.contains(QStringLiteral("--export OUT.png"))) << help.out.toStdString();
  const Result version = Quillon({QStringLiteral("--version")});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_TRUE(version.out.startsWith(QStringLiteral("quillon 4.1"))) << version.out.toStdString();
}

TEST_F(CommandLineTest, ExportWritesAPictureTheDecodersRead) {
  const QString png = Out(QStringLiteral("a.png"));
  const Result r = Quillon({QStringLiteral("--export"), png, QStringLiteral("--symbology"), QStringLiteral("code39"),
                         QStringLiteral("--text-line"), QStringLiteral("--bar-height"), QStringLiteral("2"),
                         QStringLiteral("Quillon 4")});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  const QImage img(png);
  ASSERT_FALSE(img.isNull());
  EXPECT_EQ(img.height(), 80);  // bar height 2: 80 pixels, written 1:1
  const auto d = test_support::Decode(img, QStringLiteral("code39"), QStringLiteral("QUILLON 4"));
  EXPECT_EQ(d.exitCode, 0) << d.output.toStdString();
}

TEST_F(CommandLineTest, ATextStartingWithADashFollowsADoubleDash) {
  const QString png = Out(QStringLiteral("dash.png"));
  const Result r = Quillon({QStringLiteral("--export"), png, QStringLiteral("--symbology"), QStringLiteral("code39"),
                         QStringLiteral("--"), QStringLiteral("-42-")});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  const auto d = test_support::Decode(QImage(png), QStringLiteral("code39"), QStringLiteral("-42-"));
  EXPECT_EQ(d.exitCode, 0) << d.output.toStdString();
}

TEST_F(CommandLineTest, ExportOfTextThatCannotBeEncodedNamesTheCharacter) {
  const QString png = Out(QStringLiteral("bad.png"));
  const Result r = Quillon({QStringLiteral("--export"), png, QStringLiteral("--symbology"), QStringLiteral("code39"),
                         QStringLiteral("A#B")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.contains(QStringLiteral("\"#\" (character 2)"))) << r.err.toStdString();
  EXPECT_FALSE(QFile::exists(png));
}

// The store the program reads, where conventions put it.
QString StoreFile() {
  return QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath(QStringLiteral("Quillon/Quillon.conf"));
}

QByteArray WriteStore(const QByteArray& content) {
  QDir().mkpath(QFileInfo(StoreFile()).absolutePath());
  QFile f(StoreFile());
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return {};
  f.write(content);
  return content;
}

QByteArray ReadStore() {
  QFile f(StoreFile());
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

TEST_F(CommandLineTest, ExportStartsFromTheSavedOptionsAndLeavesThemAsTheyWere) {
  const QByteArray saved = WriteStore("[options]\ntype1=False\ntype2=True\ncheck2=1\ntext8=2\n");
  const QString png = Out(QStringLiteral("saved.png"));
  const Result r = Quillon({QStringLiteral("--export"), png, QStringLiteral("SAVED 1")});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  const QImage img(png);
  EXPECT_EQ(img.height(), 80);  // the saved bar height
  const auto d = test_support::Decode(img, QStringLiteral("code39"), QStringLiteral("SAVED 1"));
  EXPECT_EQ(d.exitCode, 0) << d.output.toStdString();

  // A flag wins over the saved value for this run only.
  const QString lower = Out(QStringLiteral("lower.png"));
  ASSERT_EQ(Quillon({QStringLiteral("--export"), lower, QStringLiteral("--bar-height"), QStringLiteral("1"),
                     QStringLiteral("SAVED 1")}).exitCode, 0);
  EXPECT_EQ(QImage(lower).height(), 40);
  EXPECT_EQ(ReadStore(), saved);
}

TEST_F(CommandLineTest, ExportReportsABadStoreAndKeepsIt) {
  const QByteArray saved = WriteStore("[options]\ntype2=True\ncheck1=7\n");
  const QString png = Out(QStringLiteral("bad-store.png"));
  const Result r = Quillon({QStringLiteral("--export"), png, QStringLiteral("--symbology"), QStringLiteral("code39"),
                            QStringLiteral("X")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.contains(QStringLiteral("check1"))) << r.err.toStdString();
  EXPECT_FALSE(QFile::exists(png));
  EXPECT_EQ(ReadStore(), saved);
}

TEST_F(CommandLineTest, UsageErrorsExitTwo) {
  EXPECT_EQ(Quillon({QStringLiteral("--export"), Out("x.png"), QStringLiteral("--symbology"),
                     QStringLiteral("qr"), QStringLiteral("X")}).exitCode, 2);
  EXPECT_EQ(Quillon({QStringLiteral("--export"), Out("x.png")}).exitCode, 2);
  EXPECT_EQ(Quillon({QStringLiteral("--frobnicate")}).exitCode, 2);
  EXPECT_EQ(Quillon({QStringLiteral("--export"), Out("x.png"), QStringLiteral("--text-line"),
                     QStringLiteral("--no-text-line"), QStringLiteral("X")}).exitCode, 2);
}

TEST_F(CommandLineTest, TheWindowWithoutADisplaySaysSo) {
  const Result r = Quillon({});
  EXPECT_NE(r.exitCode, 0);
  EXPECT_TRUE(r.err.contains(QStringLiteral("no display"))) << r.err.toStdString();
}

// A machine without a CUPS server: libcups finds nobody at this socket.
QProcessEnvironment NoCups(const QString& pdfDir) {
  QProcessEnvironment env;
  env.insert(QStringLiteral("CUPS_SERVER"), QStringLiteral("/nonexistent/cups.sock"));
  env.insert(QStringLiteral("QUILLON_PDF_DIR"), pdfDir);
  return env;
}

TEST_F(CommandLineTest, WithoutCupsTheOnlyAndCurrentPrinterIsSaveAsPdf) {
  const Result r = Quillon({QStringLiteral("--list-printers")}, false, NoCups(dir.path()));
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, QStringLiteral("* Save as PDF\n"));
  if (test_support::CupsWanted()) {
    // test.sh's CUPS has the queue PDF as the system default.
    const Result cups = Quillon({QStringLiteral("--list-printers")});
    EXPECT_TRUE(cups.out.startsWith(QStringLiteral("* PDF\n"))) << cups.out.toStdString();
    EXPECT_TRUE(cups.out.endsWith(QStringLiteral("  Save as PDF\n"))) << cups.out.toStdString();
  }
}

TEST_F(CommandLineTest, AFileThatCannotBeOpenedExitsNonZeroNamingPathAndReason) {
  const QString missing = Out(QStringLiteral("missing.txt"));
  const Result r = Quillon({missing}, false, NoCups(dir.path()));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.contains(QStringLiteral("Cannot open \"%1\" to print: No such file or directory.").arg(missing)))
      << r.err.toStdString();
  const Result folder = Quillon({dir.path()}, false, NoCups(dir.path()));
  EXPECT_EQ(folder.exitCode, 1);
  EXPECT_TRUE(folder.err.contains(QStringLiteral("it is a folder, not a file"))) << folder.err.toStdString();
  EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("*.pdf")}).isEmpty());
}

TEST_F(CommandLineTest, ThePathIsEveryArgumentJoinedByBlanksAndTrimmed) {
  QDir(dir.path()).mkdir(QStringLiteral("two  words"));
  const QString path = Out(QStringLiteral("two  words/a file.txt"));
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("first\r\nsecond\rthird");
  f.close();
  // Split where a shell would split an unquoted path; the blanks come back.
  const QStringList parts = path.split(QLatin1Char(' '));
  const Result r = Quillon(QStringList{QString()} + parts + QStringList{QStringLiteral(" ")}, false, NoCups(dir.path()));
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_TRUE(r.err.contains(QStringLiteral("printing line 3 of 3"))) << r.err.toStdString();
  EXPECT_TRUE(r.err.contains(path)) << r.err.toStdString();
}

TEST_F(CommandLineTest, ListPrintersMarksTheCurrentOne) {
  const Result r = Quillon({QStringLiteral("--list-printers")});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(r.out.split(QLatin1Char('\n')).contains(QStringLiteral("* Save as PDF")) ||
              r.out.contains(QStringLiteral("  Save as PDF")))
      << r.out.toStdString();
}

TEST_F(CommandLineTest, APathPrintsTheMatchingLinesWithTheSavedOptionsThroughSaveAsPdfWithoutCups) {
  // The saved options of the window: Code 39, pattern "ID:", three columns.
  QDir(dir.path()).mkpath(QStringLiteral("config/Quillon"));
  QFile store(dir.filePath(QStringLiteral("config/Quillon/Quillon.conf")));
  ASSERT_TRUE(store.open(QIODevice::WriteOnly));
  store.write("[options]\ntype1=False\ntype2=True\nline=ID:\nCheckqq=1\n");
  store.close();
  QDir(dir.path()).mkpath(QStringLiteral("my files"));
  QFile lines(dir.filePath(QStringLiteral("my files/orders.txt")));
  ASSERT_TRUE(lines.open(QIODevice::WriteOnly));
  lines.write("ID:A-1\r\nnote\rID: b 2 \r\n\r\nid:no\r\n   ID:C.3\r\nID:D/4");
  lines.close();

  QProcessEnvironment env;
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
  env.insert(QStringLiteral("QUILLON_PDF_DIR"), dir.filePath(QStringLiteral("pdf")));
  env.insert(QStringLiteral("CUPS_SERVER"), dir.filePath(QStringLiteral("no-cups.sock")));  // no printer at all
  // A path with a blank arrives as two arguments: they are joined again.
  const Result r = Quillon({dir.filePath(QStringLiteral("my")), QStringLiteral("files/orders.txt")}, false, env);
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  const QString pdf = r.out.trimmed();
  EXPECT_TRUE(pdf.startsWith(dir.filePath(QStringLiteral("pdf/quillon-")))) << pdf.toStdString();
  EXPECT_TRUE(r.err.contains(QStringLiteral("Save as PDF"))) << r.err.toStdString();
  const auto read = test_support::ReadSymbols(pdf, QStringLiteral("code39"));
  const QStringList expected{"A-1", "B 2", "C.3", "D/4"};
  ASSERT_EQ(read.size(), static_cast<size_t>(expected.size()));
  for (size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(read[i].zbar, expected[static_cast<int>(i)]);
    EXPECT_EQ(read[i].zxing, expected[static_cast<int>(i)]);
  }
  // Three to a row: the first three share a top, the fourth is below.
  EXPECT_EQ(read[0].box.top(), read[2].box.top());
  EXPECT_GT(read[3].box.top(), read[0].box.bottom());
}

TEST_F(CommandLineTest, APathThatCannotBeOpenedExitsNonZeroNamingIt) {
  QProcessEnvironment env;
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
  env.insert(QStringLiteral("QUILLON_PDF_DIR"), dir.filePath(QStringLiteral("pdf")));
  const Result r = Quillon({dir.filePath(QStringLiteral("missing.txt"))}, false, env);
  EXPECT_NE(r.exitCode, 0);
  EXPECT_TRUE(r.err.contains(dir.filePath(QStringLiteral("missing.txt")))) << r.err.toStdString();
  EXPECT_FALSE(QDir(dir.filePath(QStringLiteral("pdf"))).exists() &&
               !QDir(dir.filePath(QStringLiteral("pdf"))).isEmpty());
}

}  // namespace
