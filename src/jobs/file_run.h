#pragma once
// Printing a text file as barcodes: one barcode for every line that starts
// with the line pattern, one below the other or three to a row, optionally
// with every line's text printed too, all in one print job.
#include "jobs/generator.h"
#include "platform/printers.h"

#include <QList>
#include <QString>

#include <optional>

namespace jobs {

struct LabelSheet;

// A matching line that gave no barcode.
struct RefusedLine {
  qint64 number = 0;  // from 1
  QString text;       // the line, cut to kRefusedTextCharacters, control characters escaped
  QString reason;
};
inline constexpr int kRefusedTextCharacters = 40;
inline constexpr int kRefusedLinesKept = 10;

// What the run asks whoever runs it (the window, the command line). Options
// are read afresh at every line, since the user may change them in the
// window while a file prints.
class FileRunHost {
 public:
  virtual ~FileRunHost() = default;
  virtual QString Pattern() = 0;      // the line pattern, untrimmed
  virtual bool IncludePattern() = 0;  // the pattern stays part of the value
  virtual bool PrintLines() = 0;      // every line is also printed as text
  virtual bool Columns() = 0;         // three barcodes to a row
  // The finished barcode of value, or its refusal.
  virtual Generated Generate(const QString& value) = 0;
  virtual void LetEventsRun() = 0;
  // lines is -1 when the input is a stream whose length is unknown.
  virtual void Progress(qint64 line, qint64 lines) = 0;
  virtual bool CancelRequested() = 0;
  virtual void Refused(const RefusedLine& refused) = 0;
};

struct FileRunResult {
  enum class Status {
    Sent,            // the job went to the printer
    NothingPrinted,  // nothing to print (no output at all): no job; message says why
    CannotOpen,      // the file could not be opened; message says why
    PrinterFailed,   // the printer could not take the job; message says why
  };
  Status status = Status::NothingPrinted;
  QString message;
  qint64 lines = 0;     // lines read
  qint64 matching = 0;  // lines that start with the pattern
  qint64 barcodes = 0;  // pictures painted
  qint64 refused = 0;   // matching lines that gave no barcode (blank values aside)
  QList<RefusedLine> firstRefused;  // the first kRefusedLinesKept of them
  QString readError;  // reading stopped early: why (the lines before were printed)
  bool cancelled = false;
  QString pdfPath;  // the file "Save as PDF" wrote
  QString labelWarning;  // on labels: barcodes shrunk below what scanners read ("" for none)
};

// The column positions in millimetres; column 0 is the current x.
inline constexpr double kColumn1Millimetres = 75;
inline constexpr double kColumn2Millimetres = 150;
// The least white kept beside a picture that runs past its column: the
// quiet zone a scanner needs (a quarter inch).
inline constexpr double kQuietZoneMillimetres = 6.35;

// The barcode value of a line, or nothing when the line does not start with
// the pattern. The test looks at the line without its leading and trailing
// spaces and compares exactly.
std::optional<QString> BarcodeValue(const QString& line, const QString& pattern, bool includePattern);

// A line as a message shows it: escaped, cut to kRefusedTextCharacters.
QString ShownLine(const QString& line);

// Prints the file at path ("-" for standard input) on the current printer
// (already selected). A document is only started by something to print: a
// run that prints nothing sends no job. Where the job would go is checked
// before the file is opened; a barcode larger than the page's printable
// area (a label's) is refused, with by how much; an interrupted wait for
// input (platform/interruption.h) ends the run as a cancel does.
// On labels, each barcode goes on the next label instead of the rows and
// columns; printed lines and columns do not apply.
FileRunResult RunFile(const QString& path, platform::Printers& printers, FileRunHost& host,
                      const LabelSheet* labels = nullptr);

}  // namespace jobs
