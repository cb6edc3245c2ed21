// The command line of the built program, run as a user would run it.
#include "support/decode.h"
#include "support/printed_pages.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <iostream>

namespace {

// A shell command's output, or "FAILED" when it does not exit with 0.
QString Sh(const QString& command) {
  QProcess p;
  p.start("bash", {"-c", command});
  const bool ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
  return ok ? QString::fromLocal8Bit(p.readAllStandardOutput()) : "FAILED";
}

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
  // itself. The store lives in config/, CUPS is cups (the system's with
  // "", none answers with the default) and "Save as PDF" writes into pdfDir.
  void Start(QProcess& p, const QStringList& args, const QString& cups = "none", const QString& pdfDir = "",
             const QStringList& extraEnv = {}, const QString& program = QUILLON_BINARY) const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "CUPS_SERVER", "QUILLON_DEBUG"})
      env.remove(name);
    env.insert("LC_ALL", "C.UTF-8");  // '.' is the decimal point, ',' is not
    for (const QString& e : extraEnv) env.insert(e.section('=', 0, 0), e.section('=', 1));
    env.insert("XDG_CONFIG_HOME", Path("config"));
    env.insert("QUILLON_PDF_DIR", pdfDir.isEmpty() ? Path("pdf") : pdfDir);
    if (cups != "") env.insert("CUPS_SERVER", cups == "none" ? Path("no-cups.sock") : cups);
    env.insert("Q", QUILLON_BINARY);
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir.path());
    p.start(program, args);
  }
  static Result Finish(QProcess& p) {
    Result r;
    if (!p.waitForFinished(120000)) return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
  }
  Result Quillon(const QStringList& args, bool withCups = false, const QStringList& extraEnv = {}) const {
    QProcess p;
    Start(p, args, withCups ? "" : "none", "", extraEnv);
    return Finish(p);
  }
  // A shell line: $Q is the program, the folder the current directory.
  Result Shell(const QString& script) const {
    QProcess p;
    Start(p, {"-c", script}, "none", "", {}, "bash");
    return Finish(p);
  }
  // Runs quillon on lines fed through standard input and does what to it (or
  // to its printer) once it has printed the first; then feeds more lines and
  // ends the input. The run is still going when what happens, however fast
  // or slow the build.
  Result InterruptedRun(const std::function<void(QProcess&)>& what, const QString& cups = "none") {
    QProcess p;
    Start(p, {"-"}, cups);
    p.setReadChannel(QProcess::StandardError);
    const auto feed = [&p](int from, int to) {
      QByteArray lines;
      for (int i = from; i < to; ++i) lines += "LINE" + QByteArray::number(i) + "\r\n";
      p.write(lines);
      p.waitForBytesWritten(10000);
    };
    feed(0, 20);
    QByteArray err;
    while (!err.contains("printing line") && p.waitForReadyRead(60000)) err += p.readAllStandardError();
    QThread::msleep(200);  // the first lines printed: the job is open
    what(p);
    if (p.state() == QProcess::Running) {
      QThread::msleep(300);  // an interruption is looked at every 100 ms
      feed(20, 40);
      p.closeWriteChannel();
    }
    Result r = Finish(p);
    r.err.prepend(QString::fromLocal8Bit(err));
    return r;
  }
  QByteArray Read(const QString& name) const {
    QFile f(Path(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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
  for (const Case& c : {Case{{"--help"}, 0, "--export OUT ", ""}, Case{{"--version"}, 0, "quillon 4.1", ""},
                        Case{{"--export", Path("x.png"), "--symbology", "qr", "X"}, 2, "", "qr"},
                        Case{{"--export", Path("x.png")}, 2, "", "TEXT"}, Case{{"--frobnicate"}, 2, "", ""},
                        Case{{"--export", Path("x.png"), "--text-line", "--no-text-line", "X"}, 2, "", "exclude"},
                        Case{{}, 1, "", "no display"}, Case{{"--list-printers"}, 0, "* Save as PDF\n", ""},
                        Case{{Path("none.txt")}, 1, "", cannotOpen.arg(Path("none.txt"), "No such file or directory")},
                        // A name cannot turn the message around or break it into lines.
                        Case{{Path("a\u202e\u2028.txt")}, 1, "", cannotOpen.arg(Path("a\\u{202e}\\u{2028}.txt"), "No such file or directory")},
                        Case{{dir.path()}, 1, "", cannotOpen.arg(dir.path(), "it is a folder, not a file")},
                        Case{{"--printer", "Nowhere", "a.txt"}, 2, "", "\"Nowhere\"; the printers are: Save as PDF"},
                        Case{{"--export", Path("x.png"), "--columns", "X"}, 2, "", "--columns is for printing a file"},
                        Case{{"--output", Path("x.txt"), "a.txt"}, 2, "", "must end in .pdf"},
                        Case{{"--no-columns", "--"}, 2, "", "no file to print"},
                        Case{{"--list-labels", "5160"}, 0, "Avery 5160   66.7 x 25.4 mm  30 per sheet", ""},
                        Case{{"--labels", "Avery 99999", "a.txt"}, 1, "", "see quillon --list-labels WORD"},
                        Case{{"--labels", "5160", "--first-label", "31", "a.txt"}, 2, "", "Avery 5160 has 30 label(s)"},
                        Case{{"--export", Path("x.png"), "--labels", "5160", "X"}, 2, "", "not for --export"}}) {
    const Result r = Quillon(c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString();
    EXPECT_TRUE(r.out.contains(c.out) && r.err.contains(c.err)) << r.out.toStdString() << r.err.toStdString();
  }
  // A number must be a plain number in the flag's range, whatever a lenient parser would make of it.
  struct Number {
    const char* flag;
    const char* range;
    QStringList values;
  };
  for (const Number& n : {Number{"bar-height", "0.1 to 25", {"abc", "NaN", "", "5abc", "1,5", "0x10", "1e9", "inf", "0", " 12", "12 "}},
                          Number{"font-size", "1 to 144", {"145", "-8", "8pt"}},
                          Number{"width", "1 to 16000", {"", "0", "16001"}}}) {
    for (const QString& v : n.values) {
      const Result r = Quillon({"--export", Path("x.png"), QString("--") + n.flag, v, "X"});
      EXPECT_EQ(r.exitCode, 2) << n.flag << " " << v.toStdString();
      EXPECT_EQ(r.err, QString("quillon: --%1 \"%2\" is not a number from %3\n").arg(n.flag, v, n.range));
    }
  }
  const QString help = Quillon({"--help"}).out;
  for (const char* word : {"--symbology", "--pattern", "--no-include-pattern", "--no-columns", "--no-print-line",
                           "--no-text-line", "--bar-height", "--font-size", "--width", "--printer", "--output",
                           "--force", "--export", "--list-printers", "--list-labels", "--labels NAME",
                           "--first-label N", "--outline", "Exit status: 0", "2 usage error", "3 the job",
                           "128+N"})
    EXPECT_TRUE(help.contains(word)) << word;
  for (const char* window : {"--help", "--version", "--list-printers"}) {
    const Result full = Shell(QString("$Q %1 > /dev/full").arg(window));
    EXPECT_EQ(full.exitCode, 1) << window;
    EXPECT_EQ(full.err, "quillon: cannot write to standard output: no space left on the device\n") << window;
  }
  EXPECT_FALSE(QFile::exists(Path("x.png")));
  EXPECT_TRUE(QDir(Path("pdf")).entryList({"*.pdf"}).isEmpty());
}

TEST_F(CommandLineTest, ExportStartsFromTheSavedOptionsWritesWhatTheDecodersReadAndKeepsTheStore) {
  // Saved: Code 39 with bar height 2 (80 pixels, unit 2); a flag wins for its
  // run only. Two modules of white lie above and below (none with --quiet-zone 0).
  const QByteArray saved =
      Write("config/Quillon/Quillon.conf", "[options]\ntype1=False\ntype2=True\ncheck2=1\ntext8=2\n");
  struct Case {
    QStringList args;
    const char* read;
    int height;
  };
  for (const Case& c : {Case{{"SAVED 1"}, "SAVED 1", 88}, Case{{"--bar-height", "3", "SAVED 1"}, "SAVED 1", 132},
                        Case{{"--symbology", "code39", "--text-line", "Quillon 4"}, "QUILLON 4", 88},
                        Case{{"--quiet-zone", "0", "--", "-42-"}, "-42-", 80}}) {
    const Result r = Quillon(QStringList{"--export", Path("out.png")} + c.args);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QImage img(Path("out.png"));
    EXPECT_EQ(img.height(), c.height);
    const auto d = test_support::Decode(img, "code39", c.read);
    EXPECT_EQ(d.exitCode, 0) << d.output.toStdString();
    QFile::remove(Path("out.png"));
  }
  // One line per problem, control characters escaped, Qt's own chatter left out.
  const Result bad = Quillon({"--export", Path("out.png"), "A\nB"}, false, {"QT_LOGGING_RULES=*=true"});
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_TRUE(bad.err.startsWith("quillon: Code 39 cannot encode \"\\n\" (character 2)")) << bad.err.toStdString();
  EXPECT_EQ(bad.err.count('\n'), 1) << bad.err.toStdString();
  const Result euro = Quillon({"--export", Path("out.png"), "--symbology", "code128b", "--", "ab\u20ac"});
  EXPECT_TRUE(euro.err.startsWith("quillon: Code 128 B cannot encode \"\u20ac\" (character 3). It takes") &&
              euro.err.count('\n') == 1)
      << euro.err.toStdString();
  EXPECT_FALSE(QFile::exists(Path("out.png")));
  QByteArray binary;
  for (int i = 0; i < 3072; ++i) binary += char(i % 256);
  Write("binary.dat", binary);
  const QString lines = Quillon({"--symbology", "code128b", Path("binary.dat")}).err;
  EXPECT_LE(lines.count("There was an Unknow Error"), 1) << lines.toStdString();
  for (const QString& line : lines.split('\n', Qt::SkipEmptyParts)) EXPECT_TRUE(line.startsWith("quillon: ")) << line.toStdString();
  QFile store(Path("config/Quillon/Quillon.conf"));
  EXPECT_TRUE(store.open(QIODevice::ReadOnly) && store.readAll() == saved);
}

// Every symbology but Code 39 (the window's tests read the refusals' reasons).
TEST_F(CommandLineTest, ExportedPicturesDecodeToTheCodeWithItsCheckDigitAndRefusalsExitOne) {
  struct Case {
    QStringList args;
    const char* symbology;  // "" for a code that cannot be drawn
    const char* expected;   // the decoded text, or the reason on stderr
  };
  for (const Case& c : {Case{{"upc", "--text-line", "03600029145"}, "upca", "036000291452"},
                        Case{{"upc", "--no-text-line", "--", " 07447079230"}, "upca", "074470792307"},
                        Case{{"ean", "590123412345"}, "ean13", "5901234123457"},
                        Case{{"ean", "9638507"}, "ean8", "96385074"}, Case{{"upc", "036000291452"}, "", "got 12 characters"},
                        Case{{"code128b", "20260417"}, "code128", "20260417"},
                        Case{{"code128-1", "20260417"}, "code128", "20260417"}, Case{{"code25", "20260417"}, "i25", "20260417"},
                        // A bar height set before TEXT draws nothing of its own and says nothing.
                        Case{{"code25", "--bar-height", "2", "123456"}, "i25", "123456"},
                        Case{{"code39", "--", QString(40000, 'A')}, "", "40000 characters"}}) {
    SCOPED_TRACE(c.args.join(' ').left(80).toStdString());
    QFile::remove(Path("x.png"));
    const Result r = Quillon(QStringList{"--export", Path("x.png"), "--symbology"} + c.args);
    if (*c.symbology == '\0') {
      EXPECT_EQ(r.exitCode, 1);
      EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.expected))) << r.err.toStdString();
      EXPECT_FALSE(QFile::exists(Path("x.png")));
      continue;
    }
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    const auto d = test_support::Decode(QImage(Path("x.png")), c.symbology, c.expected);
    EXPECT_EQ(d.exitCode, 0) << d.output.toStdString();
  }
}

TEST_F(CommandLineTest, ExportAsSvgAndPdfDrawsThePngsBarsWithRealTextAndReplacesAFileOnlyWithForce) {
  const QStringList code{"--symbology", "code128b", "--text-line", "--", "Vector-7"};
  for (const char* name : {"b.png", "b.svg", "b.PDF"})
    ASSERT_EQ(Quillon(QStringList{"--export", Path(name)} + code).exitCode, 0) << name;
  // Rasterised at 96 dots per inch, one picture pixel to one pixel: the same
  // black and white pixels across the bars (the PDF page is whole points, at
  // most 1 pixel more); the text line is real text there, smoothed as it is.
  const auto blackWhite = [](const QImage& image) {
    return image.copy(0, 0, image.width(), 40).convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
  };
  const QImage png = blackWhite(QImage(Path("b.png")));
  ASSERT_EQ(QProcess::execute("rsvg-convert", {"-b", "white", Path("b.svg"), "-o", Path("svg.png")}), 0);
  // The SVG's size is in millimetres, which rsvg may round up by a pixel.
  const QImage fromSvg(Path("svg.png"));
  EXPECT_LE(fromSvg.width() - png.width(), 1);
  EXPECT_EQ(blackWhite(fromSvg.copy(png.rect())), png);
  const auto pages = test_support::RasterisePdf(Path("b.PDF"), 96);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_LE(pages[0].width() - png.width(), 1);
  EXPECT_EQ(blackWhite(pages[0].copy(png.rect())), png);
  EXPECT_EQ(test_support::DecodeFile(Path("b.PDF"), "code128", "Vector-7").exitCode, 0);
  EXPECT_EQ(test_support::PdfText(Path("b.PDF")).trimmed(), "Vector-7");
  QString svgText;  // the text elements' characters, in order
  for (const auto& m : QRegularExpression(">([^<>\\s]+)</text>").globalMatch(QString::fromUtf8(Read("b.svg"))))
    svgText += m.captured(1);
  EXPECT_EQ(svgText, "Vector-7");

  const QByteArray svg = Read("b.svg");
  const Result again = Quillon(QStringList{"--export", Path("b.svg"), "X"});
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_EQ(again.err, QString("quillon: %1 exists already; use --force to replace it\n").arg(Path("b.svg")));
  EXPECT_EQ(Read("b.svg"), svg);
  // Replaced with its mode kept; a hidden temporary left over an hour ago goes, a fresh one stays.
  ASSERT_EQ(Sh(QString("cd '%1' && chmod 600 b.svg && touch -d '2 hours ago' .quillon-old.part && touch .quillon-new.part")
                   .arg(dir.path())), "");
  EXPECT_EQ(Quillon(QStringList{"--export", Path("b.svg"), "--force", "X"}).exitCode, 0);
  EXPECT_NE(Read("b.svg"), svg);
  EXPECT_EQ(Sh("stat -c %a " + Path("b.svg")), "600\n");
  EXPECT_EQ(QDir(dir.path()).entryList({".quillon-*"}, QDir::Files | QDir::Hidden), QStringList{".quillon-new.part"});
  // A descriptor's name is written where the descriptor stands, after what the shell wrote there.
  ASSERT_EQ(Quillon({"--export", Path("x.png"), "X"}).exitCode, 0);
  for (const char* script : {"{ echo header; $Q --export /dev/stdout X; } > s", "echo header > s; $Q --export /proc/self/fd/1 --force X >> s",
                             "echo header > s; $Q --export /dev/fd/3 X 3>> s"}) {
    const Result r = Shell(script);
    EXPECT_EQ(r.exitCode, 0) << script << r.err.toStdString();
    const QByteArray bytes = Read("s");
    EXPECT_TRUE(bytes.startsWith("header\n") && QImage::fromData(bytes.mid(7)) == QImage(Path("x.png"))) << script;
  }
  const Result full = Quillon({"--export", "/dev/full", "X"});
  EXPECT_EQ(full.exitCode, 1);
  EXPECT_EQ(full.err, "quillon: cannot write /dev/full: no space left on the device\n");
}

TEST_F(CommandLineTest, ASettingsErrorSaysWhetherTheDefaultsCouldBeRestored) {
  Write("a.txt", "A\r\n");
  // Far too large to be saved options: refused without reading it, and removed.
  Write("config/Quillon/Quillon.conf", "[options]\ntype2=True\n" + QByteArray(2 << 20, '#'));
  Result r = Quillon({Path("a.txt")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.contains("2097173 bytes") && r.err.endsWith("Error in Settings, Default Settings will be restored "
                                                                 "and Quillon should be restarted\n"))
      << r.err.toStdString();
  EXPECT_FALSE(QFile::exists(Path("config/Quillon/Quillon.conf")));

  // A bad value in a store that cannot be changed.
  const test_support::Tmpfs readOnly("size=64k");
  if (readOnly.Path().isEmpty()) GTEST_SKIP() << readOnly.Problem().toStdString();
  QDir(Path("config")).removeRecursively();
  ASSERT_TRUE(QFile::link(readOnly.Path(), Path("config")));
  Write("config/Quillon/Quillon.conf", "[options]\ntype1=maybe\n");
  ASSERT_EQ(QProcess::execute("mount", {"-o", "remount,ro", readOnly.Path()}), 0);
  r = Quillon({Path("a.txt")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.contains("\"type1\" holds \"maybe\" Error in Settings. The Default Settings could not be restored: " +
                             Path("config/Quillon/Quillon.conf") + " cannot be changed."))
      << r.err.toStdString();
  EXPECT_FALSE(r.err.contains("will be restored"));
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
  EXPECT_FALSE(test_support::PdfText(pdf).contains("note"));

  // Flags override the saved options for this run and save nothing.
  const QByteArray saved = Read("config/Quillon/Quillon.conf");
  const QStringList flags{"--symbology", "code128b", "--include-pattern", "--no-columns", "--print-line", "--output"};
  const Result f = Quillon(flags + QStringList{Path("out.pdf"), Path("my  files/orders.txt")});
  ASSERT_EQ(f.exitCode, 0) << f.err.toStdString();
  std::vector<test_support::ReadSymbol> flagged;  // the printed lines are marks too
  for (const auto& mark : test_support::ReadSymbols(Path("out.pdf"), "code128"))
    if (!mark.zbar.isEmpty() || !mark.zxing.isEmpty()) flagged.push_back(mark);
  const QStringList withPattern{"ID:A-1", "ID: b 2", "ID:C.3", "ID:D/4"};  // Code 128 keeps the lower case
  ASSERT_EQ(flagged.size(), 4u);
  for (size_t i = 0; i < flagged.size(); ++i) {
    EXPECT_EQ(flagged[i].zbar, withPattern[i]);
    EXPECT_EQ(flagged[i].zxing, withPattern[i]);
    if (i > 0) {
      EXPECT_GT(flagged[i].box.top(), flagged[i - 1].box.bottom());  // one to a row
    }
  }
  EXPECT_TRUE(test_support::PdfText(Path("out.pdf")).contains("note"));
  EXPECT_EQ(Read("config/Quillon/Quillon.conf"), saved);
  // The named file is never replaced unasked.
  const QByteArray out = Read("out.pdf");
  const Result exists = Quillon({"--output", Path("out.pdf"), Path("my  files/orders.txt")});
  EXPECT_EQ(exists.exitCode, 1);
  EXPECT_TRUE(exists.err.contains("use --force")) << exists.err.toStdString();
  EXPECT_EQ(Read("out.pdf"), out);
  EXPECT_EQ(Quillon({"--output", Path("out.pdf"), "--force", Path("my  files/orders.txt")}).exitCode, 0);
  EXPECT_NE(Read("out.pdf"), out);
}

TEST_F(CommandLineTest, StandardInputAndPipesPrintAsTheFileAndRefusedLinesSetTheExitStatus) {
  Write("config/Quillon/Quillon.conf", "[options]\ntype1=False\ntype2=True\nline=ID:\n");
  Write("in.txt", "ID:A1\nnote\r\nID:B2\rID:C3");
  const auto expectPdf = [&](const Result& r, const QStringList& values) {
    QStringList zbar, zxing;
    for (const auto& read : test_support::ReadSymbols(r.out.trimmed(), "code39")) {
      zbar << read.zbar;
      zxing << read.zxing;
    }
    EXPECT_TRUE(zbar == values && zxing == values) << zbar.join(' ').toStdString() << r.err.toStdString();
  };
  for (const char* script : {"$Q in.txt", "$Q - < in.txt", "$Q /dev/stdin < in.txt", "cat in.txt | $Q -",
                             "$Q <(cat in.txt)"}) {
    SCOPED_TRACE(script);
    const Result r = Shell(script);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    expectPdf(r, {"A1", "B2", "C3"});
  }

  // The PDF through the descriptor of stdout, after what is there, and no path written after it.
  ASSERT_EQ(Shell("{ echo header; $Q --output /dev/stdout in.txt; } > s.pdf").exitCode, 0);
  const QByteArray onStdout = Read("s.pdf");
  EXPECT_TRUE(onStdout.startsWith("header\n%PDF") && onStdout.trimmed().endsWith("%%EOF")) << onStdout.right(40).toStdString();
  Write("t.pdf", onStdout.mid(7));
  expectPdf(Result{0, Path("t.pdf"), ""}, {"A1", "B2", "C3"});

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

// The shared scheduler's queue "PDF" is used by other tests at the same time,
// so the refusals are tried on a queue of this test's own, and the scheduler
// that stops is a private one.
TEST_F(CommandLineTest, ThroughCupsTheJobIdOrTheQueuesReasonAndNoJobLeftWaiting) {
  if (!test_support::CupsWanted()) GTEST_SKIP() << "QUILLON_TEST_CUPS is not set: no CUPS here";
  const QString queue = QString("QuillonTest%1").arg(QCoreApplication::applicationPid());
  const QString addQueue = "lpadmin -p %1 -v cups-pdf:/ -P $(ls /usr/share/ppd/cups-pdf/CUPS-PDF_*.ppd | head -n 1) -E";
  ASSERT_EQ(Sh(addQueue.arg(queue)), "");
  struct Remove {
    QString queue;
    ~Remove() { Sh("lpadmin -x " + queue); }
  } remove{queue};
  Write("config/Quillon/Quillon.conf", "[options]\ntype1=False\ntype2=True\nc1opt=" + queue.toLatin1() + "\n");
  Write("two.txt", "CUPS1\r\nCUPS2\r\n");
  struct Case {
    QString before;
    int exitCode;
    QString err;
  };
  for (const Case& c : {Case{"true", 0, QString("sent to the printer \"%1\" as job %1-").arg(queue)},
                        Case{"cupsreject -r 'out of paper' " + queue, 1,
                             QString("the printer \"%1\" is not accepting jobs: out of paper").arg(queue)},
                        Case{"cupsaccept " + queue + " && cupsdisable -r jammed " + queue, 1,
                             QString("the printer \"%1\" is disabled (paused): jammed").arg(queue)}}) {
    ASSERT_EQ(Sh(c.before), "");
    const Result r = Quillon({Path("two.txt")}, true);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(c.err)) << r.err.toStdString();
    EXPECT_EQ(r.err.contains("printing line"), c.exitCode == 0);  // a queue that cannot take the job: before a line is read
    if (c.exitCode == 0) {
      const QString job = r.err.section(" as job ", 1).trimmed();
      EXPECT_TRUE(Sh("lpstat -W all -o " + queue).contains(job + " ")) << job.toStdString();
      for (int i = 0; i < 300 && !Sh("lpstat -o " + queue).isEmpty(); ++i) QThread::msleep(100);
    }
    EXPECT_EQ(Sh("lpstat -o " + queue).toStdString(), "");  // nothing waits
  }
  ASSERT_EQ(Sh("cupsenable " + queue), "");
  const Result deleted = InterruptedRun([&](QProcess&) { Sh("lpadmin -x " + queue); }, "");
  EXPECT_EQ(deleted.exitCode, 1);
  EXPECT_TRUE(deleted.err.contains(QString("the printer \"%1\" does not exist").arg(queue))) << deleted.err.toStdString();

  // A private scheduler with one queue, stopped in the middle of a run.
  const QString root = Path("cupsd");
  Write("cupsd/cups-files.conf", QString("SystemGroup root\nServerRoot %1\nRequestRoot %1\nCacheDir %1\nStateDir %1\n"
                                         "ErrorLog %1/log\nAccessLog %1/log\nPageLog %1/log\n").arg(root).toLocal8Bit());
  Write("cupsd/cupsd.conf", QString("Listen %1/cups.sock\nBrowsing No\n<Location />\nOrder allow,deny\nAllow all\n</Location>\n"
                                    "<Policy default>\n<Limit All>\nOrder deny,allow\n</Limit>\n</Policy>\n").arg(root).toLocal8Bit());
  QProcess cupsd;
  cupsd.start("cupsd", {"-f", "-c", root + "/cupsd.conf", "-s", root + "/cups-files.conf"});
  const QString server = "CUPS_SERVER=" + root + "/cups.sock ";
  for (int i = 0; i < 100 && Sh(server + "lpstat -r") != "scheduler is running\n"; ++i) QThread::msleep(50);
  ASSERT_EQ(Sh(server + addQueue.arg("Private")), "");
  Write("config/Quillon/Quillon.conf", "[options]\ntype1=False\ntype2=True\nc1opt=Private\n");
  // Paused, it answers nothing: one SIGTERM still ends the run waiting for it within a second.
  qint64 waited = -1;
  Result paused;
  InterruptedRun([&](QProcess& p) {
    ::kill(static_cast<pid_t>(cupsd.processId()), SIGSTOP);
    p.closeWriteChannel();  // the run ends its input and asks CUPS for the queue's state
    QThread::msleep(500);
    QElapsedTimer clock;
    clock.start();
    ::kill(static_cast<pid_t>(p.processId()), SIGTERM);
    paused = Finish(p);
    waited = clock.elapsed();
    ::kill(static_cast<pid_t>(cupsd.processId()), SIGCONT);
  }, root + "/cups.sock");
  EXPECT_LT(waited, 1000);
  EXPECT_EQ(paused.exitCode, 128 + SIGTERM);
  EXPECT_TRUE(paused.err.endsWith("quillon: cancelled by SIGTERM after line 20: nothing was sent\n")) << paused.err.toStdString();
  const Result stopped = InterruptedRun([&](QProcess&) { cupsd.kill(), cupsd.waitForFinished(); }, root + "/cups.sock");
  EXPECT_EQ(stopped.exitCode, 1);
  EXPECT_TRUE(stopped.err.contains("the printer \"Private\" did not take the job: CUPS stopped answering")) << stopped.err.toStdString();
}

TEST_F(CommandLineTest, SaveAsPdfGivesEveryRunItsOwnWholeFileAndNeverLeavesAPartialOne) {
  Write("config/Quillon/Quillon.conf", "[options]\ntype1=False\ntype2=True\n");
  Write("one.txt", "ONE\r\n");
  // Twelve runs at once: each its own complete PDF, in the same second or not.
  std::vector<std::unique_ptr<QProcess>> runs;
  for (int i = 0; i < 12; ++i) Start(*runs.emplace_back(std::make_unique<QProcess>()), {Path("one.txt")});
  QStringList pdfs;
  for (auto& p : runs) {
    const Result r = Finish(*p);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    pdfs << r.out.trimmed();
  }
  pdfs.removeDuplicates();
  EXPECT_EQ(pdfs.size(), 12);
  EXPECT_EQ(QDir(Path("pdf")).entryList(QDir::Files | QDir::Hidden).size(), 12);
  for (const QString& pdf : pdfs) EXPECT_NE(Sh("pdfinfo '" + pdf + "'"), "FAILED") << pdf.toStdString();

  // A folder that cannot take the file: exit 1, the reason, nothing left.
  test_support::Tmpfs full("size=64k"), readOnly("size=64k,ro");
  QByteArray many;
  for (int i = 0; i < 3000; ++i) many += "FULL" + QByteArray::number(i) + "\r\n";
  Write("many.txt", many);
  for (const auto& [mount, why] : {std::pair{&full, "no space left on the device"},
                                   std::pair{&readOnly, "the file system is read-only"}}) {
    if (mount->Path().isEmpty()) {
      std::cout << "skipped \"" << why << "\": " << mount->Problem().toStdString() << "\n";
      continue;
    }
    QProcess p;
    Start(p, {Path("many.txt")}, "none", mount->Path());
    const Result r = Finish(p);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("cannot write the PDF " + mount->Path() + ": " + why)) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(QDir(mount->Path()).entryList(QDir::Files | QDir::Hidden), QStringList());
  }

  // Where the job cannot go is said before a line is read, the real reason
  // given; without HOME the password database's home is used, or none.
  const QString asNobody = "env -u HOME -u XDG_CONFIG_HOME -u QUILLON_PDF_DIR setpriv --reuid=%1 --regid=%1 "
                           "--clear-groups $Q --printer 'Save as PDF' - < many.txt";
  struct Early {
    QString script, err;
  };
  for (const Early& e : {Early{"$Q --output missing/x.pdf many.txt", "the folder " + Path("missing") + " does not exist"},
                         Early{"QUILLON_PDF_DIR=/proc $Q many.txt", "cannot write the PDF /proc: the folder /proc is not writable"},
                         Early{asNobody.arg(65534), "cannot write the PDF /nonexistent/Documents/Quillon: "},
                         Early{asNobody.arg(54321), "no home folder (HOME is not set and the password database has none"}}) {
    const Result r = Shell(e.script);
    EXPECT_EQ(r.exitCode, 1) << e.script.toStdString();
    EXPECT_TRUE(r.err.contains(e.err) && !r.err.contains("printing line")) << r.err.toStdString();
  }

  // Killed: no file at all, not even a hidden one; hung up: the lines before
  // as a whole PDF, exit 128 + SIGHUP, and the last line says where they went.
  QDir(Path("pdf")).removeRecursively();
  InterruptedRun([](QProcess& p) { p.kill(); });
  EXPECT_EQ(QDir(Path("pdf")).entryList(QDir::Files | QDir::Hidden), QStringList());
  const Result hup = InterruptedRun([](QProcess& p) { ::kill(static_cast<pid_t>(p.processId()), SIGHUP); });
  EXPECT_EQ(hup.exitCode, 129);
  const QString pdf = hup.out.trimmed();
  EXPECT_TRUE(QRegularExpression("quillon: cancelled by SIGHUP after line (\\d+): the \\1 barcode\\(s\\) before it were saved as " +
                                 QRegularExpression::escape(pdf) + " \\(\"Save as PDF\\\"\\)\n$")
                  .match(hup.err)
                  .hasMatch())
      << hup.err.toStdString();
  EXPECT_NE(Sh("pdfinfo '" + pdf + "'"), "FAILED") << hup.out.toStdString();
  EXPECT_EQ(QDir(Path("pdf")).entryList({"*.pdf"}, QDir::Files).size(), 1);
}

// One SIGTERM, SIGINT or SIGHUP ends a run within a second wherever it
// waits, with 128 + the signal's number and what was sent as the last line.
TEST_F(CommandLineTest, OneSignalEndsABlockedRunAtOnceAndSaysWhatWasSent) {
  struct Case {
    QString script;
    int signal;
    QString last;
  };
  for (const Case& c : {Case{"mkfifo ff; exec $Q ff", SIGTERM, "cancelled by SIGTERM before the first line: nothing was sent"},
                        Case{"exec $Q - < <(echo LINE1; sleep 8)", SIGINT,
                             "cancelled by SIGINT after line 1: the 1 barcode(s) before it were saved as "},
                        Case{"exec $Q --range 1 3 --pause 3600 P", SIGHUP,
                             "cancelled by SIGHUP: nothing was sent; From is now 1"}}) {
    SCOPED_TRACE(c.script.toStdString());
    QProcess p;
    Start(p, {"-c", c.script}, "none", "", {}, "bash");
    p.setReadChannel(QProcess::StandardError);
    QByteArray err;
    while (!err.toLower().contains("quillon: printing") && !QFile::exists(Path("ff")) && p.waitForReadyRead(10000))
      err += p.readAllStandardError();
    QThread::msleep(500);  // the run is waiting now
    QElapsedTimer clock;
    clock.start();
    ::kill(static_cast<pid_t>(p.processId()), c.signal);
    ASSERT_TRUE(p.waitForFinished(3000));
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(p.exitCode(), 128 + c.signal);
    const QString last = QString::fromLocal8Bit(err + p.readAllStandardError()).trimmed().section('\n', -1);
    EXPECT_TRUE(last.startsWith("quillon: " + c.last)) << last.toStdString();
    QFile::remove(Path("ff"));
  }
}

TEST_F(CommandLineTest, RangePrintsOneJobPerNumberLikeRunItAndSaysWhenItCannot) {
  struct Case {
    QStringList args;
    int exitCode;
    int jobs;
    const char* err;
  };
  const QStringList toPdf{"--pause", "0", "--output", Path("range"), "--symbology", "code128b"};
  for (const Case& c : {Case{{"--range", "007", "010", ""}, 0, 3, "3 of 3 barcode(s)"},
                        Case{{"--range", "-1", "0", "N"}, 0, 1, "1 of 1 barcode(s)"},
                        Case{{"--range", "5", "5", "X"}, 2, 0, "FROM must be less than TO"},
                        Case{{"--range", "3", "1", "X"}, 2, 0, "FROM must be less than TO"},
                        Case{{"--range", "1", "1e3", "X"}, 2, 0, "plain numbers"},
                        Case{{"--range", " 1", "3", "X"}, 2, 0, "plain numbers"},
                        Case{{"--range", "1", "2147483649", "X"}, 2, 0, "at most 2147483647 numbers"},
                        Case{{"--range", "1", "99999999999999999999", "X"}, 2, 0, "9007199254740992"},
                        Case{{"--range", "999999999999999", "1000000000000009", "Q"}, 3, 1, "15 significant digits"},
                        Case{{"--range", "1", "x", "P"}, 2, 0, "numbers"},
                        Case{{"--range", "1", "3"}, 2, 0, "PREFIX"},
                        Case{{"--range", "1", "3", "--printer", "nonesuch", "P"}, 2, 0, "unknown printer \"nonesuch\""}}) {
    QDir(Path("range")).removeRecursively();
    const Result r = Quillon(toPdf + c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString() << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(c.err)) << r.err.toStdString();
    EXPECT_EQ(QDir(Path("range")).entryList({"*.pdf"}).size(), c.jobs) << c.args.join(' ').toStdString();
    EXPECT_EQ(r.out.count('\n'), c.jobs);  // the path of each job
  }
  const Result r = Quillon(toPdf + QStringList{"--range", "1.5", "2", "--", "-A"});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  const auto read = test_support::DecodeFile(r.out.trimmed(), "code128", "-A1.5");
  EXPECT_EQ(read.exitCode, 0) << read.output.toStdString();
  EXPECT_TRUE(QDir(Path("pdf")).entryList({"*.pdf"}).isEmpty());
}

// Avery 5160 as Avery publishes it (0.1875 inch side margins, 0.5 inch top,
// 2.625 x 1 inch labels at a 2.75 inch pitch): every barcode lies inside its
// label at 300 dpi and reads back in order; a roll's pages are its labels.
TEST_F(CommandLineTest, OnLabelSheetsEachBarcodeLiesInItsLabelInOrderAndARollLabelIsAPage) {
  QByteArray lines;
  for (int i = 1; i <= 100; ++i) lines += QByteArray("LBL-") + QByteArray::number(i) + "\n";
  Write("l.txt", lines);
  const auto labelAt = [](int slot) {  // 300 dpi pixels, a 1/32 inch allowance for the templates' spacing
    const int column = slot % 30 % 3, row = slot % 30 / 3;
    return QRect(QPoint((0.1875 + 2.75 * column) * 300, (0.5 + row) * 300), QSize(2.625 * 300, 300)).adjusted(-10, -2, 10, 2);
  };
  for (const int first : {1, 7}) {
    const QStringList args{"--labels", "Avery 5160", "--first-label", QString::number(first), "--symbology", "code128b",
                           "--force", "--output", Path("sheet.pdf"), Path("l.txt")};
    const Result r = Quillon(args);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(Sh("pdfinfo " + Path("sheet.pdf")).contains(QRegularExpression("Pages: +4\n(.|\n)*612 x 792 pts")));
    std::vector<QRect> boxes;  // from the rasterised pages, in label order
    std::vector<test_support::ReadSymbol> read;
    if (first == 1) {
      read = test_support::ReadSymbols(Path("sheet.pdf"), "code128");
      for (const auto& s : read) boxes.push_back(s.box.translated(0, (s.page - 1) * 3300));
    } else {
      const auto pages = test_support::RasterisePdf(Path("sheet.pdf"));
      ASSERT_EQ(pages.size(), 4u);
      for (const QRect& box : test_support::FindMarks(pages[0], 60)) boxes.push_back(box);
    }
    ASSERT_EQ(boxes.size(), first == 1 ? 100u : 24u);  // page 1 from label 7: six empty labels
    for (size_t i = 0; i < boxes.size(); ++i) {
      const int slot = first - 1 + static_cast<int>(i);
      EXPECT_TRUE(labelAt(slot).translated(0, slot / 30 * 3300).contains(boxes[i])) << first << " " << i;
      if (i < read.size()) {
        EXPECT_EQ(read[i].zbar, QString("LBL-%1").arg(i + 1));
        EXPECT_EQ(read[i].zxing, QString("LBL-%1").arg(i + 1));
      }
    }
  }
  // Dymo 99012, a 36 x 89 mm roll label: one page a barcode, the page the
  // label (to the whole point, as PDF pages are written); a long barcode turns along it, and the bars it then has too thin
  // are said once.
  Write("roll.txt", "ROLL-1\nROLL-2\n" + QByteArray(60, 'W') + "\n" + QByteArray(61, 'W') + "\n");
  Result r = Quillon({"--labels", "dymo 99012", "--output", Path("roll.pdf"), Path("roll.txt")});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(r.err.count("2 barcode(s) had to shrink to fit the labels of Dymo 99012"), 1) << r.err.toStdString();
  EXPECT_TRUE(Sh("pdfinfo " + Path("roll.pdf")).contains(QRegularExpression("Pages: +4\n(.|\n)*102 x 252 pts")));
  const auto roll = test_support::RasterisePdf(Path("roll.pdf"), 150);
  ASSERT_EQ(roll.size(), 4u);
  QRect turned;  // its bars run across the page, each a band of its own
  for (const QRect& bar : test_support::FindMarks(roll[2], 30)) turned |= bar;
  EXPECT_GT(turned.height(), 3 * turned.width());  // runs along the label
  EXPECT_TRUE(QRect(0, 0, 213, 526).contains(turned));
  // --range on labels: all numbers in one job; no templates: --labels fails, saying where they come from.
  r = Quillon({"--range", "1", "32", "--pause", "0", "--labels", "Avery 5160", "--output", Path("range"), "N"});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(r.out.count('\n'), 1);
  EXPECT_TRUE(Sh("pdfinfo " + r.out.trimmed()).contains(QRegularExpression("Pages: +2\n")));
  for (const QStringList& args : {QStringList{"--labels", "Avery 5160", Path("l.txt")}, QStringList{"--list-labels"}}) {
    r = Quillon(args, false, {"QUILLON_LABEL_TEMPLATES=" + Path("none")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, QString("quillon: No label templates in %1: they come with the package glabels-data "
                             "(sudo apt install glabels-data).\n").arg(Path("none")));
  }
}

}  // namespace

// A thermal label printer: CUPS's sample Zebra ZPL driver on 2 x 1 inch
// labels, what it sends caught on the loopback and drawn back into an image.
TEST_F(CommandLineTest, ThroughALabelPrinterEachBarcodeIsALabelOfItsOwnThatDecodes) {
  if (!test_support::CupsWanted()) GTEST_SKIP() << "QUILLON_TEST_CUPS is not set: no CUPS here";
  const QString tools = QUILLON_SHARED_TOOLS;
  const QString port = Sh("python3 -c 'import socket; s = socket.socket(); s.bind((\"127.0.0.1\", 0)); "
                          "print(s.getsockname()[1])'").trimmed();
  QProcess sink;
  sink.start("python3", {tools + "/label-sink.py", port, Path("labels.zpl"), "60"});
  const QString queue = QString("QuillonLabel%1").arg(QCoreApplication::applicationPid());
  ASSERT_EQ(Sh(QString("lpadmin -p %1 -E -v socket://127.0.0.1:%2 -m drv:///sample.drv/zebra.ppd -o PageSize=w144h72 "
                       "2>/dev/null").arg(queue, port)), "");
  struct Remove {
    QString queue;
    QProcess& sink;
    ~Remove() { Sh("lpadmin -x " + queue), sink.kill(), sink.waitForFinished(); }
  } remove{queue, sink};
  Write("labels.txt", "LBL-1\nLBL-2\n" + QByteArray(30, 'W') + "\n");
  const Result r = Quillon({"--printer", queue, "--symbology", "code128b", Path("labels.txt")}, true);
  EXPECT_EQ(r.exitCode, 3) << r.err.toStdString();
  // The page is the label (CUPS's media-default, no margins): a barcode wider than it is refused.
  EXPECT_TRUE(QRegularExpression("line 3: \"W+\": The barcode \\(([\\d.]+) x [\\d.]+ mm\\) does not fit the printable area "
                                 "of the page \\(50\\.8 x 25\\.4 mm\\): [\\d.]+ mm too wide\\.")
                  .match(r.err)
                  .hasMatch())
      << r.err.toStdString();
  const auto labels = [this] { return QString::fromLatin1(Read("labels.zpl")).split("~DG", Qt::SkipEmptyParts); };
  for (int i = 0; i < 600 && (labels().size() < 2 || !Sh("lpstat -o " + queue).isEmpty()); ++i) QThread::msleep(100);
  QThread::msleep(500);  // anything more would have come by now
  ASSERT_EQ(labels().size(), 2) << Read("labels.zpl").left(200).toStdString();
  for (int i = 0; i < 2; ++i) {
    Write("label.zpl", "~DG" + labels()[i].toLatin1());
    ASSERT_EQ(Sh(QString("python3 %1/zpl2pbm.py %2.zpl %2.pbm && head -c 11 %2.pbm").arg(tools, Path("label"))).toStdString(),
              "P1\n408 203\n");  // 2 x 1 inch at 203 dots per inch
    const auto read = test_support::DecodeFile(Path("label.pbm"), "code128", QString("LBL-%1").arg(i + 1), "zbar");
    EXPECT_EQ(read.exitCode, 0) << read.output.toStdString();
  }
}
