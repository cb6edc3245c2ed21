// The command line of the built program, run as a user would run it: shell
// lines in a fresh folder ($Q is the program), their exit status, what they
// say and what they leave behind; pictures and PDFs read back by the decoders.
#include "support/decode.h"
#include "support/printed_pages.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

namespace {

struct Result {
  int exitCode = -1;
  QString out, err;
};

// A shell line, its exit status, a part of its standard error ($PWD stands
// for the folder), a shell line that must succeed afterwards, a part of its output.
struct Row {
  QString script;
  int exitCode;
  QString err, after = {}, out = {};
};

class CommandLineTest : public ::testing::Test {
 protected:
  QString Path(const QString& name) const { return dir.filePath(name); }
  void Write(const QString& name, const QByteArray& bytes) const {
    EXPECT_TRUE(test_support::WriteFile(Path(name), bytes));
  }
  QByteArray Read(const QString& name) const {
    QFile f(Path(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  // Starts a shell line in the folder, headless as CI runs it: the program
  // must pick the offscreen platform itself, and with all of Qt's logging on
  // none of it may reach the user. The store lives in config/, "Save as PDF"
  // writes into pdf/, CUPS is cupsServer (the system's with "").
  void Start(QProcess& p, const QString& script) const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "CUPS_SERVER", "QUILLON_DEBUG"})
      env.remove(name);
    env.insert("LC_ALL", "C.UTF-8");  // '.' is the decimal point, ',' is not
    env.insert("QT_LOGGING_RULES", "*=true");
    env.insert("XDG_CONFIG_HOME", Path("config"));
    env.insert("QUILLON_PDF_DIR", Path("pdf"));
    if (!cupsServer.isEmpty()) env.insert("CUPS_SERVER", cupsServer);
    env.insert("Q", QUILLON_BINARY);
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir.path());
    p.start("bash", {"-c", script});
  }
  static Result Finish(QProcess& p) {
    Result r;
    if (p.state() != QProcess::NotRunning && !p.waitForFinished(120000)) return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
  }
  Result Run(const QString& script) const { QProcess p; Start(p, script); return Finish(p); }
  // A shell line's output, or "FAILED" when it does not exit with 0.
  QString Sh(const QString& script) const { const Result r = Run(script); return r.exitCode ? "FAILED" : r.out; }
  // Runs each row; every line the program writes to stderr is one of its own.
  std::vector<Result> ExpectRows(const std::vector<Row>& rows) const {
    std::vector<Result> results;
    for (const Row& row : rows) {
      const Result& r = results.emplace_back(Run(row.script));
      const std::string what = row.script.left(120).toStdString() + "\n" + r.err.toStdString();
      EXPECT_EQ(r.exitCode, row.exitCode) << what;
      EXPECT_TRUE(r.err.contains(QString(row.err).replace("$PWD", dir.path()))) << what;
      EXPECT_TRUE(r.out.contains(row.out)) << what << r.out.toStdString();
      for (const QString& line : r.err.split('\n', Qt::SkipEmptyParts))
        EXPECT_TRUE(line.startsWith("quillon: ")) << what;
      EXPECT_TRUE(row.after.isEmpty() || Run(row.after).exitCode == 0) << what << "then: " << row.after.toStdString();
    }
    return results;
  }
  // Starts script and, once the run is under way (it says it prints, or has
  // made the fifo ff), does what to it or to its printer. For "exec $Q -" it
  // feeds 20 lines first and 20 more after, and ends the input: the run is
  // still going when what happens, however fast or slow the build.
  Result Interrupted(const std::function<void(QProcess&)>& what, const QString& script = "exec $Q -") {
    QProcess p;
    Start(p, script);
    p.setReadChannel(QProcess::StandardError);
    const bool feeding = script == "exec $Q -";
    const auto feed = [&p, feeding](int from, int to) {
      for (int i = from; feeding && i < to; ++i) p.write("LINE" + QByteArray::number(i) + "\r\n");
      p.waitForBytesWritten(10000);
    };
    feed(0, 20);
    QByteArray err;
    QElapsedTimer waited;
    waited.start();
    while (!err.toLower().contains("quillon: printing") && !QFile::exists(Path("ff")) && waited.elapsed() < 60000 &&
           p.state() == QProcess::Running) {
      p.waitForReadyRead(100);
      err += p.readAllStandardError();
    }
    QThread::msleep(500);  // the first lines printed, the job open; or the run waiting
    what(p);
    if (p.state() == QProcess::Running && feeding) {
      QThread::msleep(300);  // an interruption is looked at every 100 ms
      feed(20, 40);
      p.closeWriteChannel();
    }
    Result r = Finish(p);
    r.err.prepend(QString::fromLocal8Bit(err));
    return r;
  }
  // Sends the run a signal; how long it took to end, in milliseconds.
  static qint64 Signal(QProcess& p, int signal) {
    QElapsedTimer clock;
    clock.start();
    ::kill(static_cast<pid_t>(p.processId()), signal);
    p.waitForFinished(3000);
    return clock.elapsed();
  }
  // Both decoders read each value from the PDF, one symbol a value, in order;
  // marks neither reads (printed text lines) are left out.
  static std::vector<test_support::ReadSymbol> ExpectPdfReads(const QString& pdf, const QString& symbology,
                                                              const QStringList& values) {
    std::vector<test_support::ReadSymbol> read;
    QStringList zbar, zxing;
    for (const auto& symbol : test_support::ReadSymbols(pdf, symbology))
      if (!symbol.zbar.isEmpty() || !symbol.zxing.isEmpty())
        read.push_back(symbol), zbar << symbol.zbar, zxing << symbol.zxing;
    EXPECT_EQ((zbar + zxing).join('|').toStdString(), (values + values).join('|').toStdString()) << pdf.toStdString();
    return read;
  }
  QTemporaryDir dir;
  QString cupsServer = Path("no-cups.sock");  // none answers: only "Save as PDF"
};

// Each form's exit status and message when it cannot do what it is asked,
// before it prints a line, and nothing written anywhere.
TEST_F(CommandLineTest, EachFormSaysWhyItCannotWithItsExitStatusAndWritesNothing) {
  const QString cannotOpen = "quillon: Cannot open \"%1\" to print: %2.\n";
  const QString asNobody = "env -u HOME -u XDG_CONFIG_HOME -u QUILLON_PDF_DIR setpriv --reuid=%1 --regid=%1 "
                           "--clear-groups $Q --printer 'Save as PDF' - < a.txt";
  const QString noTemplates = "quillon: No label templates in $PWD/none: they come with the package glabels-data "
                              "(sudo apt install glabels-data).\n";
  std::vector<Row> rows = {
      {"$Q --help", 0, "", "", "--export OUT "}, {"$Q --version", 0, "", "", "quillon 4.1"},
      {"$Q --list-printers", 0, "", "", "* Save as PDF\n"}, {"$Q", 1, "no display"},
      {"$Q --list-labels 5160", 0, "", "", "Avery 5160   66.7 x 25.4 mm  30 per sheet, US-Letter  Address Labels\n"},
      {"$Q --frobnicate", 2, "quillon: Unknown option 'frobnicate'. (see --help)\n"},
      {"$Q --export x.png --symbology qr X", 2, "unknown symbology \"qr\""},
      {"$Q --export x.png", 2, "--export needs the TEXT to encode"},
      {"$Q --export x.png --columns X", 2, "--columns is for printing a file"},
      {"$Q --printer Nowhere a.txt", 2, "\"Nowhere\"; the printers are: Save as PDF"},
      {"$Q --output x.txt a.txt", 2, "must end in .pdf"}, {"$Q --range 1 1e30 X", 2, "plain numbers"},
      {"$Q --labels 'Avery 99999' a.txt", 1, "see quillon --list-labels WORD"},
      {"$Q --labels 5160 --first-label 31 a.txt", 2, "Avery 5160 has 30 label(s)"},
      {"QUILLON_LABEL_TEMPLATES=$PWD/none $Q --labels 'Avery 5160' a.txt", 1, noTemplates},
      {"$Q $PWD/none.txt", 1, cannotOpen.arg("$PWD/none.txt", "No such file or directory")},
      // A name cannot turn the message around or break it into lines.
      {"$Q $'a\\u202e\\u2028.txt'", 1, cannotOpen.arg("a\\u{202e}\\u{2028}.txt", "No such file or directory")},
      {"$Q $PWD", 1, cannotOpen.arg("$PWD", "it is a folder, not a file")},
      {"$Q --list-printers > /dev/full", 1, "quillon: cannot write to standard output: no space left on the device\n"},
      // What cannot be encoded: one line, control characters escaped.
      {"$Q --export x.png --symbology code39 $'A\\nB'", 1,
       "quillon: Code 39 cannot encode \"\\n\" (character 2). It takes A-Z, 0-9, space and - . $ / + %.\n"},
      {"$Q --export x.png --symbology code39 -- $(head -c 40000 /dev/zero | tr '\\0' A)", 1, "40000 characters"},
      // Where the job cannot go; without HOME the password database's home is used, or none.
      {"$Q --output missing/x.pdf a.txt", 1, "the folder $PWD/missing does not exist"},
      {"QUILLON_PDF_DIR=/proc $Q a.txt", 1, "cannot write the PDF /proc: the folder /proc is not writable"},
      {asNobody.arg(65534), 1, "cannot write the PDF /nonexistent/Documents/Quillon: "},
      {asNobody.arg(54321), 1, "no home folder (HOME is not set and the password database has none"},
      // Numbers Run It cannot count.
      {"$Q --range 5 5 X", 2, "FROM must be less than TO"},
      {"$Q --range 1 99999999999999999999 X", 2, "9007199254740992"},
      {"$Q --range ' 1' 3 X", 2, "plain numbers"}, {"$Q --range 1 2147483649 X", 2, "at most 2147483647 numbers"},
      // Far too large to be saved options: refused without reading it, and removed.
      {"mkdir -p config/Quillon && { printf '[options]\\ntype2=True\\n'; head -c 2097152 /dev/zero | tr '\\0' '#'; } "
       "> config/Quillon/Quillon.conf && $Q a.txt", 1,
       "holds 2097173 bytes, more than saved options ever take: it is corrupt Error in Settings, Default Settings will "
       "be restored and Quillon should be restarted\n", "test ! -e config/Quillon/Quillon.conf"},
  };
  // A number must be a plain number in the flag's range, whatever a lenient parser would make of it.
  for (const auto& [flag, range, values] :
       {std::tuple{"bar-height", "0.1 to 25", QStringList{"abc", "NaN", "", "5abc", "1,5", "0x10", "1e9", "inf", "0"}},
        {"font-size", "1 to 144", QStringList{"145", "-8", " 12", "12 "}}, {"width", "1 to 16000", {"", "16001"}}})
    for (const QString& v : values)
      rows.push_back({QString("$Q --export x.png --%1 '%2' X").arg(flag, v), 2,
                      QString("quillon: --%1 \"%2\" is not a number from %3\n").arg(flag, v, range)});
  Write("a.txt", "A\r\n");
  for (const Result& r : ExpectRows(rows)) EXPECT_FALSE(r.err.contains("printing line")) << r.err.toStdString();
  EXPECT_EQ(Sh("find . -name '*.p*g' -o -name '*.pdf'"), "");

  const QString help = Run("$Q --help").out;  // the man page's forms: install_test.sh
  for (const char* word : {"--labels NAME", "--first-label N", "Exit status: 0", "2 usage error", "3 the job", "128+N"})
    EXPECT_TRUE(help.contains(word)) << word;
}

// The saved options are where an export starts (Code 39 with bar height 2:
// 80 pixels, two modules of white above and below, none with --quiet-zone 0);
// a flag wins for its run only; a UPC-A reads with its check digit (the
// window's tests decode the other families).
TEST_F(CommandLineTest, ExportStartsFromTheSavedOptionsWritesWhatTheDecodersReadAndKeepsTheStore) {
  Write("config/Quillon/Quillon.conf", "[options]\ntype1=False\ntype2=True\ncheck2=1\ntext8=2\n");
  const QByteArray saved = Read("config/Quillon/Quillon.conf");
  for (const auto& [flags, symbology, read, height] :  // height 0: not checked
       {std::tuple{"'SAVED 1'", "code39", "SAVED 1", 88}, {"--bar-height 3 'SAVED 1'", "code39", "SAVED 1", 132},
        {"--quiet-zone 0 -- -42-", "code39", "-42-", 80},
        {"--symbology upc --no-text-line -- ' 07447079230'", "upca", "074470792307", 0}}) {
    QFile::remove(Path("x.png"));
    const Result r = Run(QString("$Q --export x.png ") + flags);
    ASSERT_EQ(r.exitCode, 0) << flags << r.err.toStdString();
    EXPECT_EQ(r.err, "") << flags;
    const QImage image(Path("x.png"));
    EXPECT_TRUE(height == 0 || image.height() == height) << flags << " " << image.height();
    EXPECT_EQ(test_support::Decode(image, symbology, read).exitCode, 0) << flags;
  }
  EXPECT_EQ(Read("config/Quillon/Quillon.conf"), saved);
}

TEST_F(CommandLineTest, ExportAsSvgAndPdfDrawsThePngsBarsWithRealTextAndReplacesAFileOnlyWithForce) {
  for (const char* name : {"b.png", "b.svg", "b.PDF"})
    ASSERT_EQ(Run(QString("$Q --export %1 --symbology code128b --text-line Vector-7").arg(name)).exitCode, 0) << name;
  // Rasterised at 96 dots per inch, one picture pixel to one pixel: the same
  // black and white pixels across the bars (the SVG is in millimetres, the PDF
  // page whole points, so at most 1 pixel more); the text line is real text.
  const auto blackWhite = [](const QImage& image) {
    return image.copy(0, 0, image.width(), 40).convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
  };
  const QImage png = blackWhite(QImage(Path("b.png")));
  ASSERT_EQ(Run("rsvg-convert -b white b.svg -o svg.png").exitCode, 0);
  const auto pages = test_support::RasterisePdf(Path("b.PDF"), 96);
  ASSERT_EQ(pages.size(), 1u);
  for (const QImage& image : {QImage(Path("svg.png")), pages[0]}) {
    EXPECT_LE(image.width() - png.width(), 1);
    EXPECT_EQ(blackWhite(image.copy(png.rect())), png);
  }
  EXPECT_EQ(test_support::DecodeFile(Path("b.PDF"), "code128", "Vector-7").exitCode, 0);
  EXPECT_EQ(test_support::PdfText(Path("b.PDF")).trimmed(), "Vector-7");
  QString svgText;  // the text elements' characters, in order
  for (const auto& m : QRegularExpression(">([^<>\\s]+)</text>").globalMatch(QString::fromUtf8(Read("b.svg"))))
    svgText += m.captured(1);
  EXPECT_EQ(svgText, "Vector-7");

  const QString sameAsPng = "echo header | cat - x.png | cmp - s";
  ExpectRows({
      {"cp b.svg keep.svg; $Q --export $PWD/b.svg X", 1,
       "quillon: $PWD/b.svg exists already; use --force to replace it\n", "cmp b.svg keep.svg"},
      // Replaced with its mode kept; a hidden temporary left over an hour ago goes, a fresh one stays.
      {"chmod 600 b.svg; touch -d '2 hours ago' .quillon-old.part; touch .quillon-new.part; "
       "$Q --export b.svg --force X", 0, "",
       "! cmp -s b.svg keep.svg && test $(stat -c %a b.svg) = 600 && test \"$(echo .quillon-*)\" = .quillon-new.part"},
      // A descriptor's name is written where the descriptor stands, after what the shell wrote there.
      {"$Q --export x.png X && { echo header; $Q --export /dev/stdout X; } > s", 0, "", sameAsPng},
      {"echo header > s; $Q --export /dev/fd/3 --force X 3>> s", 0, "", sameAsPng},
  });
}

TEST_F(CommandLineTest, ASettingsErrorInAStoreThatCannotBeChangedSaysTheDefaultsCouldNotBeRestored) {
  const test_support::Tmpfs readOnly("size=64k");
  if (readOnly.Path().isEmpty()) GTEST_SKIP() << readOnly.Problem().toStdString();
  ASSERT_TRUE(QFile::link(readOnly.Path(), Path("config")));
  Write("config/Quillon/Quillon.conf", "[options]\ntype1=maybe\n");
  ASSERT_EQ(QProcess::execute("mount", {"-o", "remount,ro", readOnly.Path()}), 0);
  const Result r = Run("echo A > a.txt; $Q a.txt");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.contains("\"type1\" holds \"maybe\" Error in Settings. The Default Settings could not be "
                             "restored: " + Path("config/Quillon/Quillon.conf") + " cannot be changed."))
      << r.err.toStdString();
  EXPECT_FALSE(r.err.contains("will be restored"));
}

// The saved options of the window (Code 39, pattern "ID:", three columns), or
// the flags for one run; the lines from a file, a pipe or standard input.
TEST_F(CommandLineTest, APathOrStandardInputPrintsTheMatchingLinesWithTheSavedOptionsOrTheFlags) {
  Write("config/Quillon/Quillon.conf", "[options]\ntype1=False\ntype2=True\nline=ID:\nCheckqq=1\n");
  Write("my  files/orders.txt", "ID:A-1\r\nnote\rID: b 2 \r\n\r\nid:no\r\n   ID:C.3\r\nID:D/4");
  // Split where a shell splits an unquoted path: the arguments are joined by blanks and trimmed.
  const Result r = Run("$Q '' $PWD/my '' files/orders.txt ' '");
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_TRUE(r.out.startsWith(Path("pdf/quillon-"))) << r.out.toStdString();
  ExpectPdfReads(r.out.trimmed(), "code39", {"A-1", "B 2", "C.3", "D/4"});
  const QByteArray saved = Read("config/Quillon/Quillon.conf");
  // Flags override the saved options for this run and save nothing; Code 128 keeps the lower case.
  ExpectRows({{"$Q --symbology code128b --include-pattern --output out.pdf 'my  files/orders.txt'", 0, ""},
              {"cp out.pdf keep.pdf; $Q --output out.pdf 'my  files/orders.txt'", 1, "use --force",
               "cmp out.pdf keep.pdf"}});
  ExpectPdfReads(Path("out.pdf"), "code128", {"ID:A-1", "ID: b 2", "ID:C.3", "ID:D/4"});
  EXPECT_EQ(Read("config/Quillon/Quillon.conf"), saved);

  Write("in.txt", "ID:A1\nnote\r\nID:B2\rID:C3");
  for (const char* script :
       {"$Q in.txt", "$Q - < in.txt", "$Q /dev/stdin < in.txt", "cat in.txt | $Q -", "$Q <(cat in.txt)"}) {
    const Result s = Run(script);
    EXPECT_EQ(s.exitCode, 0) << script << s.err.toStdString();
    ExpectPdfReads(s.out.trimmed(), "code39", {"A1", "B2", "C3"});
  }
  // The PDF through the descriptor of stdout, after what is there, and no path written after it.
  ASSERT_EQ(Run("{ echo header; $Q --output /dev/stdout in.txt; } > s.pdf").exitCode, 0);
  EXPECT_TRUE(Read("s.pdf").startsWith("header\n%PDF") && Read("s.pdf").trimmed().endsWith("%%EOF"));
}

TEST_F(CommandLineTest, RefusedLinesAreSaidWithTheirNumberAndSetTheExitStatus) {
  // Lines 2, 4 and 5 refused among 6 matching lines, one of them too long.
  Write("six.txt", "ID:N1\nID:a#b\nID:N3\nID:" + QByteArray(3'000'000, 'X') + "\nID:\x01\nID:N6\n");
  const Result r = Run("$Q --symbology code39 --pattern ID: six.txt");
  EXPECT_EQ(r.exitCode, 3);
  ExpectPdfReads(r.out.trimmed(), "code39", {"N1", "N3", "N6"});
  for (const QString& said : {QString("quillon: line 2: \"ID:a#b\": Code 39 cannot encode \"#\" (character 2)"),
                              "quillon: line 4: \"ID:" + QString(37, 'X') +
                                  "...\": The line is too long for any barcode (3000003 characters; at most 4096).",
                              QString("quillon: line 5: \"ID:\\x01\": ")})
    EXPECT_TRUE(r.err.contains(said)) << said.toStdString() << "\n" << r.err.toStdString();
  EXPECT_TRUE(r.err.endsWith("quillon: 3 of 6 matching lines were refused\n")) << r.err.toStdString();

  // Nothing printed: exit 1, no PDF, the reason last.
  ExpectRows({{"printf 'ID:a#b\\nID:c#d\\n' > n.txt; $Q --symbology code39 --pattern ID: n.txt", 1,
               "quillon: 2 of 2 matching lines were refused\n"},
              {"printf 'A1\\nB2\\n' > n.txt; $Q --pattern ID: n.txt", 1,
               "starts with the pattern \"ID:\". Nothing was printed.\n"},
              {": > n.txt; $Q n.txt", 1, "is empty. Nothing was printed.\n"}});
  EXPECT_EQ(QDir(Path("pdf")).entryList({"*.pdf"}).size(), 1);
}

TEST_F(CommandLineTest, SaveAsPdfGivesEveryRunItsOwnWholeFileAndNeverLeavesAPartialOne) {
  Write("one.txt", "ONE\r\n");
  // Twelve runs at once: each its own complete PDF, in the same second or not.
  EXPECT_EQ(Sh("for i in $(seq 12); do $Q one.txt > out$i & done; for p in $(jobs -p); do wait $p || exit; done; "
               "sort -u out* | while read -r f; do pdfinfo \"$f\" > /dev/null && echo \"$f\"; done | wc -l"), "12\n");
  EXPECT_EQ(QDir(Path("pdf")).entryList(QDir::Files | QDir::Hidden).size(), 12);

  // Killed while it prints: no file at all, not even a hidden one.
  QDir(Path("pdf")).removeRecursively();
  Interrupted([](QProcess& p) { p.kill(); });
  EXPECT_EQ(QDir(Path("pdf")).entryList(QDir::Files | QDir::Hidden), QStringList());
}

// One SIGTERM, SIGINT or SIGHUP ends a run within a second wherever it
// waits, with 128 + the signal's number and what was sent as the last line:
// the lines before it as a whole PDF.
TEST_F(CommandLineTest, OneSignalEndsABlockedRunAtOnceAndSaysWhatWasSent) {
  for (const auto& [script, signal, last] :
       {std::tuple{"mkfifo ff; exec $Q ff", SIGTERM, "cancelled by SIGTERM before the first line: nothing was sent"},
        std::tuple{"exec $Q - < <(echo LINE1; sleep 8)", SIGINT,
                   "cancelled by SIGINT after line 1: the 1 barcode(s) before it were saved as "},
        std::tuple{"exec $Q --range 1 3 --pause 3600 P", SIGHUP,
                   "cancelled by SIGHUP: nothing was sent; From is now 1"}}) {
    qint64 took = -1;
    const Result r = Interrupted([&, signal = signal](QProcess& p) { took = Signal(p, signal); }, script);
    EXPECT_LT(took, 1000) << script;
    EXPECT_EQ(r.exitCode, 128 + signal) << script;
    EXPECT_TRUE(r.err.trimmed().section('\n', -1).startsWith(QString("quillon: ") + last)) << r.err.toStdString();
    EXPECT_TRUE(signal != SIGINT || Sh("pdfinfo '" + r.out.trimmed() + "'") != "FAILED") << r.out.toStdString();
    QFile::remove(Path("ff"));
  }
}

// Each number a job of its own in --output's folder, its path on stdout.
TEST_F(CommandLineTest, RangePrintsOneJobPerNumberLikeRunIt) {
  const QString toPdf = "rm -rf range; $Q --pause 0 --output range --symbology code128b --range ";
  const QString jobs = "test $(ls range | wc -l) = ";
  const auto results = ExpectRows(
      {{toPdf + "007 010 ''", 0, "3 of 3 barcode(s)", jobs + "3"},
       {toPdf + "999999999999999 1000000000000009 Q", 3, "15 significant digits", jobs + "1"},
       {toPdf + "1.5 2 -- -A", 0, "1 of 1 barcode(s)"}});
  for (size_t i = 0; i < results.size(); ++i) EXPECT_EQ(results[i].out.count("range/quillon-"), i ? 1 : 3) << i;
  const auto read = test_support::DecodeFile(Path(results.back().out.trimmed()), "code128", "-A1.5");
  EXPECT_EQ(read.exitCode, 0) << read.output.toStdString();
  EXPECT_FALSE(QFile::exists(Path("pdf")));
}

// Avery 5160 as Avery publishes it (0.1875 inch side margins, 0.5 inch top,
// 2.625 x 1 inch labels at a 2.75 inch pitch): every barcode lies inside its
// label at 300 dpi and reads back in order (page 1 from label 7: six empty
// labels); a roll's pages are its labels.
TEST_F(CommandLineTest, OnLabelSheetsEachBarcodeLiesInItsLabelInOrderAndARollLabelIsAPage) {
  QByteArray lines;
  QStringList values;
  for (int i = 1; i <= 100; ++i) lines += (values << QString("LBL-%1").arg(i)).last().toLatin1() + "\n";
  Write("l.txt", lines);
  const auto pagesOf = [this](const QString& pdf, const QString& pages, const QString& size) {
    return QRegularExpression("Pages: +" + pages + "\n(.|\n)*" + size + " pts").match(Sh("pdfinfo " + pdf)).hasMatch();
  };
  ASSERT_EQ(Run("$Q --labels 'Avery 5160' --first-label 7 --symbology code128b --output s.pdf l.txt").exitCode, 0);
  EXPECT_TRUE(pagesOf("s.pdf", "4", "612 x 792"));
  const auto read = ExpectPdfReads(Path("s.pdf"), "code128", values);
  for (int i = 0; i < int(read.size()); ++i) {
    // 300 dpi pixels, a 1/32 inch allowance for the templates' spacing.
    const int slot = i + 6, column = slot % 30 % 3, row = slot % 30 / 3;
    const QRect label(QPoint((0.1875 + 2.75 * column) * 300, (0.5 + row) * 300), QSize(2.625 * 300, 300));
    EXPECT_TRUE(read[i].page == slot / 30 + 1 && label.adjusted(-10, -2, 10, 2).contains(read[i].box)) << i;
  }
  // Dymo 99012, a 36 x 89 mm roll label: one page a barcode, the page the
  // label (to the whole point, as PDF pages are written); a long barcode
  // turns along it, and the bars it then has too thin are said once.
  Write("roll.txt", "ROLL-1\nROLL-2\n" + QByteArray(60, 'W') + "\n" + QByteArray(61, 'W') + "\n");
  const Result r = Run("$Q --labels 'dymo 99012' --output roll.pdf roll.txt");
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(r.err.count("2 barcode(s) had to shrink to fit the labels of Dymo 99012"), 1) << r.err.toStdString();
  EXPECT_TRUE(pagesOf("roll.pdf", "4", "102 x 252"));
  const auto roll = test_support::RasterisePdf(Path("roll.pdf"), 150);
  ASSERT_EQ(roll.size(), 4u);
  QRect turned;  // its bars run across the page, each a band of its own
  for (const QRect& bar : test_support::FindMarks(roll[2], 30)) turned |= bar;
  EXPECT_GT(turned.height(), 3 * turned.width());  // runs along the label
  EXPECT_TRUE(QRect(0, 0, 213, 526).contains(turned));
}

// The shared scheduler's queue "PDF" is used by other tests at the same time,
// so the refusals are tried on a queue of this test's own, and the scheduler
// that stops is a private one.
TEST_F(CommandLineTest, ThroughCupsTheJobIdOrTheQueuesReasonAndNoJobLeftWaiting) {
  if (!test_support::CupsWanted()) GTEST_SKIP() << "QUILLON_TEST_CUPS is not set: no CUPS here";
  cupsServer = "";
  const QString queue = QString("QuillonTest%1").arg(QCoreApplication::applicationPid());
  const QString addQueue = "lpadmin -p %1 -v cups-pdf:/ -P $(ls /usr/share/ppd/cups-pdf/CUPS-PDF_*.ppd | head -n 1) -E";
  ASSERT_EQ(Sh(addQueue.arg(queue)), "");
  const auto remove = qScopeGuard([&] { Sh("env -u CUPS_SERVER lpadmin -x " + queue); });
  Write("config/Quillon/Quillon.conf", "[options]\ntype1=False\ntype2=True\nc1opt=" + queue.toLatin1() + "\n");
  Write("two.txt", "CUPS1\r\nCUPS2\r\n");
  // A queue that cannot take the job is said before a line is read; nothing waits.
  const QString nothingWaits = "test -z \"$(lpstat -o " + queue + ")\"";
  const auto results = ExpectRows(
      {{"$Q two.txt", 0, QString("sent to the printer \"%1\" as job %1-").arg(queue),
        "for i in $(seq 300); do " + nothingWaits + " && exit; sleep 0.1; done; exit 1"},
       {"cupsreject -r 'out of paper' " + queue + " && $Q two.txt", 1,
        QString("the printer \"%1\" is not accepting jobs: out of paper").arg(queue), nothingWaits},
       {"cupsaccept " + queue + " && cupsdisable -r jammed " + queue + " && $Q two.txt", 1,
        QString("the printer \"%1\" is disabled (paused): jammed").arg(queue), nothingWaits}});
  for (size_t i = 0; i < results.size(); ++i) EXPECT_EQ(results[i].err.contains("printing line"), i == 0) << i;
  const QString job = results[0].err.section(" as job ", 1).trimmed();
  EXPECT_TRUE(Sh("lpstat -W all -o " + queue).contains(job + " ")) << job.toStdString();
  ASSERT_EQ(Sh("cupsenable " + queue), "");
  const Result deleted = Interrupted([&](QProcess&) { Sh("lpadmin -x " + queue); });
  EXPECT_EQ(deleted.exitCode, 1);
  EXPECT_TRUE(deleted.err.contains("the printer \"" + queue + "\" does not exist")) << deleted.err.toStdString();

  // A private scheduler with one queue, stopped in the middle of a run.
  const QString root = Path("cupsd");
  Write("cupsd/cups-files.conf", QString("SystemGroup root\nServerRoot %1\nRequestRoot %1\nCacheDir %1\nStateDir %1\n"
                                         "ErrorLog %1/log\nAccessLog %1/log\nPageLog %1/log\n")
                                     .arg(root).toLocal8Bit());
  Write("cupsd/cupsd.conf", QString("Listen %1/cups.sock\nBrowsing No\n<Location />\nOrder allow,deny\nAllow all\n"
                                    "</Location>\n<Policy default>\n<Limit All>\nOrder deny,allow\n</Limit>\n"
                                    "</Policy>\n")
                                .arg(root).toLocal8Bit());
  QProcess cupsd;
  cupsd.start("cupsd", {"-f", "-c", root + "/cupsd.conf", "-s", root + "/cups-files.conf"});
  cupsServer = root + "/cups.sock";
  for (int i = 0; i < 100 && Sh("lpstat -r") != "scheduler is running\n"; ++i) QThread::msleep(50);
  ASSERT_EQ(Sh(addQueue.arg("Private")), "");
  Write("config/Quillon/Quillon.conf", "[options]\ntype1=False\ntype2=True\nc1opt=Private\n");
  // Paused, it answers nothing: one SIGTERM still ends the run waiting for it within a second.
  qint64 waited = -1;
  const Result paused = Interrupted([&](QProcess& p) {
    ::kill(static_cast<pid_t>(cupsd.processId()), SIGSTOP);
    p.closeWriteChannel();  // the run ends its input and asks CUPS for the queue's state
    QThread::msleep(500);
    waited = Signal(p, SIGTERM);
    ::kill(static_cast<pid_t>(cupsd.processId()), SIGCONT);
  });
  EXPECT_LT(waited, 1000);
  EXPECT_EQ(paused.exitCode, 128 + SIGTERM);
  EXPECT_TRUE(paused.err.endsWith("quillon: cancelled by SIGTERM after line 20: nothing was sent\n"))
      << paused.err.toStdString();
  const Result stopped = Interrupted([&](QProcess&) { cupsd.kill(), cupsd.waitForFinished(); });
  EXPECT_EQ(stopped.exitCode, 1);
  EXPECT_TRUE(stopped.err.contains("the printer \"Private\" did not take the job: CUPS stopped answering"))
      << stopped.err.toStdString();
}

// A thermal label printer: CUPS's sample Zebra ZPL driver on 2 x 1 inch
// labels, what it sends caught on the loopback and drawn back into an image.
TEST_F(CommandLineTest, ThroughALabelPrinterEachBarcodeIsALabelOfItsOwnThatDecodes) {
  if (!test_support::CupsWanted()) GTEST_SKIP() << "QUILLON_TEST_CUPS is not set: no CUPS here";
  cupsServer = "";
  const QString tools = QUILLON_SHARED_TOOLS;
  const QString port = Sh("python3 -c 'import socket; s = socket.socket(); s.bind((\"127.0.0.1\", 0)); "
                          "print(s.getsockname()[1])'").trimmed();
  QProcess sink;
  sink.start("python3", {tools + "/label-sink.py", port, Path("labels.zpl"), "60"});
  const QString queue = QString("QuillonLabel%1").arg(QCoreApplication::applicationPid());
  ASSERT_EQ(Sh(QString("lpadmin -p %1 -E -v socket://127.0.0.1:%2 -m drv:///sample.drv/zebra.ppd -o PageSize=w144h72 "
                       "2>/dev/null").arg(queue, port)), "");
  const auto remove = qScopeGuard([&] { Sh("lpadmin -x " + queue), sink.kill(), sink.waitForFinished(); });
  Write("labels.txt", "LBL-1\nLBL-2\n" + QByteArray(30, 'W') + "\n");
  const Result r = Run("$Q --printer " + queue + " --symbology code128b labels.txt");
  EXPECT_EQ(r.exitCode, 3) << r.err.toStdString();
  // The page is the label (CUPS's media-default, no margins): a barcode wider than it is refused.
  EXPECT_TRUE(QRegularExpression("line 3: \"W+\": The barcode \\(([\\d.]+) x [\\d.]+ mm\\) does not fit the printable "
                                 "area of the page \\(50\\.8 x 25\\.4 mm\\): [\\d.]+ mm too wide\\.")
                  .match(r.err).hasMatch())
      << r.err.toStdString();
  const auto labels = [this] { return QString::fromLatin1(Read("labels.zpl")).split("~DG", Qt::SkipEmptyParts); };
  for (int i = 0; i < 600 && (labels().size() < 2 || !Sh("lpstat -o " + queue).isEmpty()); ++i) QThread::msleep(100);
  QThread::msleep(500);  // anything more would have come by now
  ASSERT_EQ(labels().size(), 2) << Read("labels.zpl").left(200).toStdString();
  for (int i = 0; i < 2; ++i) {
    Write("label.zpl", "~DG" + labels()[i].toLatin1());
    ASSERT_EQ(Sh(QString("python3 %1/zpl2pbm.py label.zpl label.pbm && head -c 11 label.pbm").arg(tools)).toStdString(),
              "P1\n408 203\n");  // 2 x 1 inch at 203 dots per inch
    const auto read = test_support::DecodeFile(Path("label.pbm"), "code128", QString("LBL-%1").arg(i + 1), "zbar");
    EXPECT_EQ(read.exitCode, 0) << read.output.toStdString();
  }
}

}  // namespace
