// UPC-A drawn in twips, read back from a row of its bars as an EAN-13 with a
// leading 0 (the published number sets) and compared with the typed digits.
#include "fuzz_support.h"
#include "symbologies/retail/upca.h"

FUZZ_STARTS_APPLICATION()

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  const int check2 = in.Range(0, 1);
  const QString text = in.RestUtf8();
  QString trimmed = text;
  while (trimmed.startsWith(u' ')) trimmed.remove(0, 1);
  while (trimmed.endsWith(u' ')) trimmed.chop(1);

  platform::PictureBox picture(nullptr, 0, 0, 3000, 1000);
  const symbologies::Outcome outcome = retail::DrawUpcA(text, picture, check2);
  const bool encodable = trimmed.size() == 11 && fuzz::AllDigits(trimmed);
  FUZZ_CHECK(outcome.drawn == encodable, "\"%s\": drawn %d (%s)", qPrintable(text), outcome.drawn,
             qPrintable(outcome.problem));
  if (!outcome.drawn) return 0;
  const std::string digits = trimmed.toStdString();
  // The middle of the bars, clear of the digits printed below them.
  const std::string read = fuzz::DecodeEan(fuzz::RowRuns(picture.Image(), 400 / 15, platform::kBlack));
  FUZZ_CHECK(read == '0' + digits + published::CheckDigit(digits), "\"%s\" read back as \"%s\"", digits.c_str(),
             read.c_str());
  return 0;
}
