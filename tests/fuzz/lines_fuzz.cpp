// The line reader on a file of fuzz bytes: its lines must be the file split
// at CR LF and lone CR (a lone LF stays in its line, a final terminator opens
// no empty line), each decoded from the ANSI code page, and CountLines must
// agree with the number of lines read.
#include "fuzz_support.h"
#include "platform/ansi.h"
#include "platform/ansi_lines.h"

#include <QTemporaryFile>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QStringList expected;
  QByteArray line;
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r') {
      line += bytes[i];
      continue;
    }
    if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    expected << platform::FromAnsi(line);
    line.clear();
  }
  if (!line.isEmpty()) expected << platform::FromAnsi(line);

  QTemporaryFile file;
  FUZZ_CHECK(file.open() && file.write(bytes) == bytes.size() && file.flush(), "cannot write %s",
             qPrintable(file.fileName()));
  platform::AnsiLineReader reader;
  FUZZ_CHECK(reader.Open(file.fileName()), "cannot open: %s", qPrintable(reader.Error()));
  QStringList read;
  while (!reader.AtEnd() && read.size() <= expected.size()) read << reader.ReadLine();
  FUZZ_CHECK(read == expected, "%lld lines read, %lld expected", static_cast<long long>(read.size()),
             static_cast<long long>(expected.size()));
  FUZZ_CHECK(platform::AnsiLineReader::CountLines(file.fileName()) == expected.size(), "CountLines %lld, %lld lines",
             static_cast<long long>(platform::AnsiLineReader::CountLines(file.fileName())),
             static_cast<long long>(expected.size()));
  return 0;
}
