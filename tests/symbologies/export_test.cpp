// Every symbology but Code 39 (see the command-line tests) through the built
// program's --export, as a user runs it.
#include "support/decode.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(ExportTest, PicturesDecodeToTheCodeWithItsCheckDigitAndRefusalsExitOne) {
  struct Case {
    QStringList args;
    const char* symbology;  // "" for a code that cannot be drawn
    const char* expected;   // the decoded text, or the reason on stderr
  };
  const Case cases[] = {
      {{"upc", "--text-line", "03600029145"}, "upca", "036000291452"},
      {{"upc", "--no-text-line", "--", " 07447079230"}, "upca", "074470792307"},
      {{"ean", "590123412345"}, "ean13", "5901234123457"},
      {{"ean", "9638507"}, "ean8", "96385074"},
      {{"ean", "5901234123457"}, "", "got 13 characters"},
      {{"ean", "96385O7"}, "", "\"O\" (character 6)"},
      {{"upc", "036000291452"}, "", "got 12 characters"},
      {{"upc", "0360002914A"}, "", "\"A\" (character 11)"},
      {{"code128b", "20260417"}, "code128", "20260417"},
      {{"code128-1", "20260417"}, "code128", "20260417"},
      {{"code25", "20260417"}, "i25", "20260417"},
      {{"code25", "12a4"}, "", "\"a\" (character 3) is not a digit"},
  };
  QTemporaryDir dir;
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const QString png = dir.filePath(QStringLiteral("%1.png").arg(++n));
    QProcess p;  // on this program's private, empty settings folder
    p.start(QStringLiteral(QUILLON_BINARY), QStringList{"--export", png, "--symbology"} + c.args);
    ASSERT_TRUE(p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit);
    const QString err = QString::fromLocal8Bit(p.readAllStandardError());
    if (*c.symbology == '\0') {
      EXPECT_EQ(p.exitCode(), 1);
      EXPECT_TRUE(err.contains(QString::fromUtf8(c.expected))) << err.toStdString();
      EXPECT_FALSE(QFile::exists(png));
      continue;
    }
    ASSERT_EQ(p.exitCode(), 0) << err.toStdString();
    const auto d = test_support::Decode(QImage(png), QString::fromLatin1(c.symbology), QString::fromLatin1(c.expected));
    EXPECT_EQ(d.exitCode, 0) << d.output.toStdString();
  }
}

}  // namespace
