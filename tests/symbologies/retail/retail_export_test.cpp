// UPC-A and EAN through the built program's --export, as a user runs it.
#include "support/decode.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ExportRun {
  int exitCode = -1;
  QString err;
};

ExportRun Export(const QString& png, const QStringList& args) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  QTemporaryDir config;  // no saved options of anyone else's
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
  p.setProcessEnvironment(env);
  p.start(QStringLiteral(QUILLON_BINARY), QStringList{QStringLiteral("--export"), png} + args);
  ExportRun r;
  if (!p.waitForFinished(60000)) return r;
  r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.err = QString::fromLocal8Bit(p.readAllStandardError());
  return r;
}

TEST(RetailExportTest, UpcAndEanPicturesDecodeToTheCodeAndItsCheckDigit) {
  QTemporaryDir dir;
  struct Case {
    QStringList args;
    QString symbology;
    QString expected;
  };
  const Case cases[] = {
      {{"--symbology", "upc", "--text-line", "03600029145"}, "upca", "036000291452"},
      {{"--symbology", "upc", "--no-text-line", "--", " 07447079230"}, "upca", "074470792307"},
      {{"--symbology", "ean", "590123412345"}, "ean13", "5901234123457"},
      {{"--symbology", "ean", "9638507"}, "ean8", "96385074"},
  };
  int n = 0;
  for (const Case& c : cases) {
    const QString png = dir.filePath(QStringLiteral("%1.png").arg(++n));
    const ExportRun r = Export(png, c.args);
    ASSERT_EQ(r.exitCode, 0) << c.args.join(' ').toStdString() << ": " << r.err.toStdString();
    const auto d = test_support::Decode(QImage(png), c.symbology, c.expected);
    EXPECT_EQ(d.exitCode, 0) << c.expected.toStdString() << "\n" << d.output.toStdString();
  }
}

TEST(RetailExportTest, CodesThatCannotBeDrawnExitOneWithTheReason) {
  QTemporaryDir dir;
  const std::pair<QStringList, QString> cases[] = {
      {{"--symbology", "ean", "5901234123457"}, "got 13 characters"},
      {{"--symbology", "ean", "96385O7"}, "\"O\" (character 6)"},
      {{"--symbology", "upc", "036000291452"}, "got 12 characters"},
      {{"--symbology", "upc", "0360002914A"}, "\"A\" (character 11)"},
  };
  for (const auto& [args, reason] : cases) {
    const QString png = dir.filePath(QStringLiteral("no.png"));
    const ExportRun r = Export(png, args);
    EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
    EXPECT_TRUE(r.err.contains(reason)) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(png));
  }
}

}  // namespace
