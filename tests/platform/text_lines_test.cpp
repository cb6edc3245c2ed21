#include "platform/text_lines.h"
#include "support/printed_pages.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// Every file read twice: as a regular file (counted first) and as a pipe
// (read once); both give the same lines.
TEST(TextLineReader, LineEndsEncodingsAndBoundedLinesAlikeFromAFileAndAPipe) {
  using platform::TextLineReader;
  constexpr qint64 kMax = TextLineReader::kMaxLineCharacters;
  const QString e = QStringLiteral("\u00e9");
  struct Case {
    QByteArray bytes;
    QStringList lines;
    bool utf8;
  };
  const Case cases[] = {
      {"one\r\ntwo\rthree\nfour\r\r\n\nlast", {"one", "two", "three", "four", "", "", "last"}, true},
      {"\n", {""}, true},
      {"", {}, true},
      {"\x80 caf\xe9\r\nx", {QStringLiteral("\u20ac caf") + e, "x"}, false},
      {"\xef\xbb\xbf" "caf\xc3\xa9\nna\xc3\xafve", {"caf" + e, QStringLiteral("na\u00efve")}, true},
      {"\xef\xbb\xbf\n", {""}, true},
      // Not UTF-8: an overlong form, a surrogate, a character cut off at the end.
      {"\xc0\xaf", {QStringLiteral("\u00c0\u00af")}, false},
      {"\xed\xa0\x80", {QStringLiteral("\u00ed\u00a0\u20ac")}, false},
      {"ab\xc3", {QStringLiteral("ab\u00c3")}, false},
  };
  QTemporaryDir dir;
  const QString path = dir.filePath("lines.txt");
  TextLineReader reader;
  platform::TextLine line;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes.toHex().toStdString());
    ASSERT_TRUE(test_support::WriteFile(path, c.bytes));
    for (const bool pipe : {false, true}) {
      int fds[2] = {-1, -1};
      if (pipe) {
        ASSERT_EQ(::pipe(fds), 0);
        ASSERT_EQ(::write(fds[1], c.bytes.constData(), c.bytes.size()), c.bytes.size());
        ::close(fds[1]);
      }
      ASSERT_TRUE(reader.Open(pipe ? QString("/dev/fd/%1").arg(fds[0]) : path)) << reader.Error().toStdString();
      EXPECT_EQ(reader.IsStream(), pipe);
      EXPECT_EQ(reader.LineCount(), pipe ? -1 : c.lines.size());
      QStringList lines;
      while (reader.Next(line)) lines << line.text;
      EXPECT_EQ(lines, c.lines) << (pipe ? "pipe" : "file");
      EXPECT_EQ(reader.Utf8(), c.utf8);
      reader.Close();
      if (pipe) ::close(fds[0]);
    }
  }

  // A line past the bound keeps its first characters (not bytes) and its
  // length; the next line, at the bound, is read whole.
  for (const QByteArray& unit : {QByteArray("x"), QByteArray("\xc3\xa9")}) {
    ASSERT_TRUE(test_support::WriteFile(path, unit.repeated(kMax + 904) + "\r\n" + unit.repeated(kMax)));
    ASSERT_TRUE(reader.Open(path));
    const QString character = QString::fromUtf8(unit);
    ASSERT_TRUE(reader.Next(line));
    EXPECT_TRUE(line.tooLong);
    EXPECT_EQ(line.length, kMax + 904);
    EXPECT_EQ(line.text, character.repeated(kMax));
    ASSERT_TRUE(reader.Next(line));
    EXPECT_TRUE(!line.tooLong && line.text == character.repeated(kMax));
    EXPECT_FALSE(reader.Next(line));
  }
}

}  // namespace
