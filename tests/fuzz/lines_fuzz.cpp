// The text line reader on fuzz bytes, once as a file and once as a pipe.
// The file's lines must be its bytes split at CR LF, CR and LF (a final line
// end opens no empty line), decoded as UTF-8 when the whole file is valid
// UTF-8 (without a leading byte-order mark) and as Windows-1252 otherwise,
// each cut to the line bound with its full length kept; LineCount agrees.
// The pipe gives the same lines, except that from the first line that is not
// valid UTF-8 on they may be Windows-1252.
#include "fuzz_support.h"
#include "barcode/code_page.h"
#include "platform/text_lines.h"

#include <QStringDecoder>
#include <QTemporaryFile>

#include <unistd.h>

namespace {

using platform::TextLine;
using platform::TextLineReader;
constexpr qsizetype kBound = TextLineReader::kMaxLineCharacters;

bool ValidUtf8(const QByteArray& b) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = decoder(b);
  return !decoder.hasError();
}

// A line as the reader should give it; UTF-8 decoded with a U+FEFF at the
// start kept as a character.
TextLine Expected(const QByteArray& bytes, bool utf8) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
  const QString all = utf8 ? QString(decoder(bytes)) : barcode::FromAnsi(bytes);
  const QList<uint> codePoints = all.toUcs4();
  TextLine line;
  line.length = utf8 ? codePoints.size() : all.size();
  line.tooLong = line.length > kBound;
  line.text = utf8 ? QString::fromUcs4(reinterpret_cast<const char32_t*>(codePoints.constData()),
                                       std::min(line.length, kBound))
                   : all.left(kBound);
  return line;
}

// The reader may drop a U+FEFF that opens a line after the first (Qt's
// decoder takes it for a byte-order mark); it still counts it.
bool Same(const TextLine& a, const TextLine& b) {
  const bool sameText = a.text == b.text || (b.text.startsWith(QChar(0xFEFF)) && a.text == b.text.mid(1));
  return sameText && a.length == b.length && a.tooLong == b.tooLong;
}

// The lines of bytes, without their line ends; a final line end opens no
// empty line.
std::vector<QByteArray> Split(QByteArray bytes, bool skipBom) {
  if (skipBom) bytes.remove(0, 3);
  QList<QByteArray> lines = bytes.replace("\r\n", "\n").replace('\r', '\n').split('\n');
  if (lines.last().isEmpty()) lines.removeLast();
  return {lines.begin(), lines.end()};
}

std::vector<TextLine> ReadAll(TextLineReader& reader) {
  std::vector<TextLine> lines;
  TextLine line;
  while (reader.Next(line)) lines.push_back(line);
  FUZZ_CHECK(reader.Error().isEmpty(), "read error: %s", qPrintable(reader.Error()));
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const bool utf8 = ValidUtf8(bytes);
  const bool bom = bytes.startsWith("\xEF\xBB\xBF");
  const std::vector<QByteArray> raw = Split(bytes, utf8 && bom);

  QTemporaryFile file;
  FUZZ_CHECK(file.open() && file.write(bytes) == bytes.size() && file.flush(), "cannot write a file");
  TextLineReader reader;
  FUZZ_CHECK(reader.Open(file.fileName()), "cannot open: %s", qPrintable(reader.Error()));
  FUZZ_CHECK(!reader.IsStream() && reader.Utf8() == utf8, "stream %d, UTF-8 %d", reader.IsStream(), reader.Utf8());
  FUZZ_CHECK(reader.LineCount() == static_cast<qint64>(raw.size()), "%zu lines", raw.size());
  const std::vector<TextLine> lines = ReadAll(reader);
  FUZZ_CHECK(lines.size() == raw.size(), "%zu lines read, %zu expected", lines.size(), raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i)
    FUZZ_CHECK(Same(lines[i], Expected(raw[i], utf8)), "line %zu: \"%s\"", i + 1, qPrintable(lines[i].text));

  int fds[2];
  FUZZ_CHECK(pipe(fds) == 0, "no pipe");
  FUZZ_CHECK(write(fds[1], bytes.constData(), size) == static_cast<ssize_t>(size), "pipe write");
  close(fds[1]);
  TextLineReader stream;
  FUZZ_CHECK(stream.Open(QStringLiteral("/dev/fd/%1").arg(fds[0])), "%s", qPrintable(stream.Error()));
  FUZZ_CHECK(stream.IsStream() && stream.LineCount() == -1, "a pipe is a stream");
  const std::vector<TextLine> streamed = ReadAll(stream);
  stream.Close();
  close(fds[0]);
  const std::vector<QByteArray> rawStream = Split(bytes, bom);
  FUZZ_CHECK(streamed.size() == rawStream.size(), "%zu lines streamed", streamed.size());
  // UTF-8 up to the first line that is not (or does not read as) UTF-8; from
  // there Windows-1252. That line switches part way, so only its short text
  // is compared.
  bool windows1252 = false;
  for (std::size_t i = 0; i < rawStream.size(); ++i) {
    const bool switching =
        !windows1252 && !(ValidUtf8(rawStream[i]) && Same(streamed[i], Expected(rawStream[i], true)));
    windows1252 = windows1252 || switching;
    const TextLine want = Expected(rawStream[i], !windows1252);
    FUZZ_CHECK(switching ? rawStream[i].size() > kBound || streamed[i].text == want.text : Same(streamed[i], want),
               "streamed line %zu: \"%s\"", i + 1, qPrintable(streamed[i].text));
  }
  return 0;
}
