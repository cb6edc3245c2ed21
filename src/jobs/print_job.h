#pragma once
// The Print command without a window: the finished barcode on one page at
// the offsets, as one job on the printer named (or the current one).
#include "jobs/generator.h"

#include <QString>

namespace platform {
class Printers;
}

namespace jobs {

inline const QString kOffsetNotNumeric = QStringLiteral("The Barcode Offset must be a numeric value  ");
inline const QString kNoBarcode = QStringLiteral("Please Generate Barocode to print  ");

struct LabelSheet;

struct PrintRequest {
  QString printer;          // a name from the printer list; another leaves the current printer
  QString left, top;        // the offsets as typed, centimetres from the printable area's top-left
  QString title;            // the job's title
  const LabelSheet* labels = nullptr;  // on labels: the barcode on the first label, the offsets unused
};

struct Printed {
  enum class Problem { None, LeftOffset, TopOffset, NoBarcode, Misfit, Failed };
  Problem problem = Problem::None;
  QString message;  // the user's words: why nothing was printed, or where the job went
  QString warning;  // on labels: the barcode shrunk below what scanners read ("" for none)
  bool Sent() const { return problem == Problem::None; }
};

// Checks the offsets (the left one first), that there is a barcode and that
// it fits the page at those offsets, then prints it as one job.
Printed PrintBarcode(platform::Printers& printers, const Generated& barcode, const PrintRequest& request);

// "the printer "X"" or "X.pdf (Save as PDF)": where the last job went.
QString JobPlace(const platform::Printers& printers);

}  // namespace jobs
