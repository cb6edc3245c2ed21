// The command line of the built program, run as a user would run it.
#include "support/decode.h"
#include "support/printed_pages.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Result {
  int exitCode = -1;
  QString out, err;
};

class CommandLineTest : public ::testing::Test {
 protected:
  QString Path(const QString& name) const { return dir.filePath(name); }
  QByteArray Write(const QString& name, const QByteArray& bytes) const {
    EXPECT_TRUE(test_support::WriteFile(Path(name), bytes));
    return bytes;
  }
  // Runs quillon headless, as CI does: it must pick the offscreen platform
  // itself. The store lives in config/, no CUPS answers unless withCups,
  // and "Save as PDF" writes into pdf/.
  // A shell line: $Q is the program, the folder the current directory.
  Result Shell(const QString& script) const { return Quillon({"-c", script}, false, "bash"); }
  Result Quillon(const QStringList& args, bool withCups = false, const QString& program = QUILLON_BINARY) const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    env.insert("XDG_CONFIG_HOME", Path("config"));
    env.insert("QUILLON_PDF_DIR", Path("pdf"));
    if (!withCups) env.insert("CUPS_SERVER", Path("no-cups.sock"));
    env.insert("Q", QUILLON_BINARY);
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir.path());
    p.start(program, args);
    Result r;
    if (!p.waitForFinished(60000)) return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
  }
  QTemporaryDir dir;
};

TEST_F(CommandLineTest, HelpVersionListPrintersUsageErrorsNoDisplayAndAFileThatCannotBeOpened) {
  struct Case {
    QStringList args;
    int exitCode;
    QString out, err;
  };
  const QString cannotOpen = "Cannot open \"%1\" to print: %2.";
  for (const Case& c : {Case{{"--help"}, 0, "--export OUT.png", ""}, Case{{"--version"}, 0, "quillon 4.1", ""},
                        Case{{"--export", Path("x.png"), "--symbology", "qr", "X"}, 2, "", "qr"},
                        Case{{"--export", Path("x.png")}, 2, "", "TEXT"}, Case{{"--frobnicate"}, 2, "", ""},
                        Case{{"--export", Path("x.png"), "--text-line", "--no-text-line", "X"}, 2, "", "exclude"},
                        Case{{}, 1, "", "no display"}, Case{{"--list-printers"}, 0, "* Save as PDF\n", ""},
                        Case{{Path("none.txt")}, 1, "", cannotOpen.arg(Path("none.txt"), "No such file or directory")},
                        Case{{dir.path()}, 1, "", cannotOpen.arg(dir.path(), "it is a folder, not a file")}}) {
    const Result r = Quillon(c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString();
    EXPECT_TRUE(r.out.contains(c.out) && r.err.contains(c.err)) << r.out.toStdString() << r.err.toStdString();
  }
  EXPECT_FALSE(QFile::exists(Path("x.png")));
  EXPECT_TRUE(QDir(Path("pdf")).entryList({"*.pdf"}).isEmpty());
}

TEST_F(CommandLineTest, ExportStartsFromTheSavedOptionsWritesWhatTheDecodersReadAndKeepsTheStore) {
  // Saved: Code 39 with bar height 2 (80 pixels); a flag wins for its run only.
  const QByteArray saved =
      Write("config/Quillon/Quillon.conf", "[options]\ntype1=False\ntype2=True\ncheck2=1\ntext8=2\n");
  struct Case {
    QStringList args;
    const char* read;
    int height;
  };
  for (const Case& c : {Case{{"SAVED 1"}, "SAVED 1", 80}, Case{{"--bar-height", "1", "SAVED 1"}, "SAVED 1", 40},
                        Case{{"--symbology", "code39", "--text-line", "Quillon 4"}, "QUILLON 4", 80},
                        Case{{"--", "-42-"}, "-42-", 80}}) {
    const Result r = Quillon(QStringList{"--export", Path("out.png")} + c.args);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QImage img(Path("out.png"));
    EXPECT_EQ(img.height(), c.height);
    const auto d = test_support::Decode(img, "code39", c.read);
    EXPECT_EQ(d.exitCode, 0) << d.output.toStdString();
    QFile::remove(Path("out.png"));
  }
  const Result bad = Quillon({"--export", Path("out.png"), "A#B"});
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_TRUE(bad.err.contains("\"#\" (character 2)")) << bad.err.toStdString();
  EXPECT_FALSE(QFile::exists(Path("out.png")));
  QFile store(Path("config/Quillon/Quillon.conf"));
  EXPECT_TRUE(store.open(QIODevice::ReadOnly) && store.readAll() == saved);
}

TEST_F(CommandLineTest, ThroughCupsListPrintersMarksTheDefaultQueueAndEndsWithSaveAsPdf) {
  if (!test_support::CupsWanted()) GTEST_SKIP() << "QUILLON_TEST_CUPS is not set: no CUPS here";
  const QString out = Quillon({"--list-printers"}, true).out;  // test.sh's CUPS has the queue PDF as default
  EXPECT_TRUE(out.startsWith("* PDF\n") && out.endsWith("  Save as PDF\n")) << out.toStdString();
}

TEST_F(CommandLineTest, APathPrintsTheMatchingLinesWithTheSavedOptionsThroughSaveAsPdfWithoutCups) {
  // The saved options of the window: Code 39, pattern "ID:", three columns.
  Write("config/Quillon/Quillon.conf", "[options]\ntype1=False\ntype2=True\nline=ID:\nCheckqq=1\n");
  Write("my  files/orders.txt", "ID:A-1\r\nnote\rID: b 2 \r\n\r\nid:no\r\n   ID:C.3\r\nID:D/4");
  // Split where a shell splits an unquoted path: the arguments are joined by blanks and trimmed.
  const Result r = Quillon(QStringList{""} + Path("my  files/orders.txt").split(' ') + QStringList{" "});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  const QString pdf = r.out.trimmed();
  EXPECT_TRUE(pdf.startsWith(Path("pdf/quillon-"))) << pdf.toStdString();
  const auto read = test_support::ReadSymbols(pdf, "code39");
  const QStringList expected{"A-1", "B 2", "C.3", "D/4"};
  ASSERT_EQ(read.size(), 4u);
  for (size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(read[i].zbar, expected[i]);
    EXPECT_EQ(read[i].zxing, expected[i]);
  }
  EXPECT_EQ(read[0].box.top(), read[2].box.top());  // three to a row
}

TEST_F(CommandLineTest, StandardInputAndPipesPrintAsTheFileAndRefusedLinesSetTheExitStatus) {
  Write("config/Quillon/Quillon.conf", "[options]\ntype1=False\ntype2=True\nline=ID:\n");
  Write("in.txt", "ID:A1\nnote\r\nID:B2\rID:C3");
  const auto expectPdf = [&](const Result& r, const QStringList& values) {
    const auto read = test_support::ReadSymbols(r.out.trimmed(), "code39");
    ASSERT_EQ(read.size(), static_cast<size_t>(values.size())) << r.err.toStdString();
    for (size_t i = 0; i < read.size(); ++i) {
      EXPECT_EQ(read[i].zbar, values[i]);
      EXPECT_EQ(read[i].zxing, values[i]);
    }
  };
  for (const char* script : {"$Q in.txt", "$Q - < in.txt", "$Q /dev/stdin < in.txt", "cat in.txt | $Q -",
                             "$Q <(cat in.txt)"}) {
    SCOPED_TRACE(script);
    const Result r = Shell(script);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    expectPdf(r, {"A1", "B2", "C3"});
  }

  // Lines 2, 5 and 9 refused among 10 matching lines, one of them too long.
  QByteArray ten;
  for (int i = 1; i <= 10; ++i)
    ten += i == 2 ? "ID:a#b\n" : i == 5 ? "ID:" + QByteArray(3'000'000, 'X') + "\n" : i == 9 ? "ID:\x01\n" : "ID:N" + QByteArray::number(i) + "\n";
  Write("ten.txt", ten);
  const Result r = Quillon({Path("ten.txt")});
  EXPECT_EQ(r.exitCode, 3);
  expectPdf(r, {"N1", "N3", "N4", "N6", "N7", "N8", "N10"});
  EXPECT_TRUE(r.err.contains("quillon: line 2: \"ID:a#b\": Code 39 cannot encode \"#\" (character 2)")) << r.err.toStdString();
  EXPECT_TRUE(r.err.contains("quillon: line 5: \"ID:" + QString(37, 'X') + "...\": The line is too long for any barcode (3000003 characters; at most 4096).")) << r.err.toStdString();
  EXPECT_TRUE(r.err.contains("quillon: line 9: \"ID:\\x01\": ")) << r.err.toStdString();
  EXPECT_TRUE(r.err.endsWith("quillon: 3 of 10 matching lines were refused\n")) << r.err.toStdString();

  // Nothing printed: exit 1, no PDF, the reason last.
  const qsizetype pdfs = QDir(Path("pdf")).entryList({"*.pdf"}).size();
  struct Case {
    QByteArray bytes;
    QString err;
  };
  for (const Case& c : {Case{"ID:a#b\nID:c#d\n", "quillon: 2 of 2 matching lines were refused\n"},
                        Case{"A1\nB2\n", "starts with the pattern \"ID:\". Nothing was printed.\n"},
                        Case{"", "is empty. Nothing was printed.\n"}}) {
    Write("none.txt", c.bytes);
    const Result n = Quillon({Path("none.txt")});
    EXPECT_EQ(n.exitCode, 1);
    EXPECT_TRUE(n.err.endsWith(c.err)) << n.err.toStdString();
    EXPECT_EQ(n.out, "");
  }
  EXPECT_EQ(QDir(Path("pdf")).entryList({"*.pdf"}).size(), pdfs);
}

}  // namespace
