// EAN-13 and EAN-8 at a fuzzed bar height, read back from the first row of
// bars with the published number sets and compared with the typed digits.
#include "fuzz_support.h"
#include "symbologies/retail/ean.h"

FUZZ_STARTS_APPLICATION()

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  const bool ean13 = in.Range(0, 1) == 1;
  const int height = in.Range(1, 30);
  const bool showText = in.Range(0, 1) == 1;
  const QString code = in.RestUtf8();

  platform::PictureBox picture(nullptr, 0, 0, 1500, 1500);
  const symbologies::Outcome outcome =
      ean13 ? retail::DrawEan13(picture, height, code, showText) : retail::DrawEan8(picture, height, code, showText);
  const bool encodable = code.size() == (ean13 ? 12 : 7) && fuzz::AllDigits(code);
  FUZZ_CHECK(outcome.drawn == encodable, "\"%s\": drawn %d (%s)", qPrintable(code), outcome.drawn,
             qPrintable(outcome.problem));
  if (!outcome.drawn) return 0;
  const std::string digits = code.toStdString();
  const std::string read = fuzz::DecodeEan(fuzz::RowRuns(picture.Image(), 10, platform::kBlack));
  FUZZ_CHECK(read == digits + published::CheckDigit(digits), "\"%s\" read back as \"%s\"", digits.c_str(), read.c_str());
  return 0;
}
