#include "jobs/file_run.h"

#include "jobs/label_run.h"
#include "platform/blanks.h"
#include "platform/dialogs.h"
#include "render/image.h"
#include "platform/text_lines.h"

#include <algorithm>

namespace jobs {

namespace {

using platform::PageUnit;
using platform::Printers;

// Where the pictures of the current row went, so that a picture whose bars
// reach past its slot pushes the next slot or row aside instead of being
// overlapped.
class RowLayout {
 public:
  explicit RowLayout(Printers& printers) : printers_(printers) {}

  void SetMillimetres() { printers_.SetScaleMode(PageUnit::Millimetres); }

  void Paint(const Generated& barcode, int& column) {
    const double height = printers_.PictureHeight(barcode.picture.height());
    const double ink = Ink(barcode.picture);
    double x = ColumnX(column);
    if (column > 0 && rowRight_ > x) x = rowRight_ + kQuietZoneMillimetres;
    if (column > 0 && x + ink > printers_.ScaleWidth()) {
      // No room left in this row: the picture starts the next one.
      EndRow();
      column = 0;
      x = ColumnX(column);
    }
    double y = printers_.CurrentY();
    if (y > 0 && y + height > printers_.ScaleHeight()) {
      // It would be cut at the bottom: the row goes on a new page.
      printers_.NewPage();
      y = 0;
      if (column == 0) x = ColumnX(column);
    }
    printers_.Paint(*barcode.drawing, x, y);
    if (rowPage_ != printers_.Page()) {
      rowPage_ = printers_.Page();
      rowBottom_ = 0;
    }
    rowBottom_ = std::max(rowBottom_, y + height);
    rowRight_ = x + ink;
  }

  // Why the picture cannot go on any page whole ("" when it can): it would
  // be cut at the printable area's edge, which a label shows most often.
  QString Misfit(const QImage& picture) const {
    const double width = Ink(picture);
    const double height = printers_.PictureHeight(picture.height());
    const double pageWidth = printers_.ScaleWidth(), pageHeight = printers_.ScaleHeight();
    if (width <= pageWidth && height <= pageHeight) return {};
    QStringList over;
    if (width > pageWidth) over << QStringLiteral("%1 mm too wide").arg(width - pageWidth, 0, 'f', 1);
    if (height > pageHeight) over << QStringLiteral("%1 mm too tall").arg(height - pageHeight, 0, 'f', 1);
    return QStringLiteral("The barcode (%1 x %2 mm) does not fit the printable area of the page (%3 x %4 mm): %5.")
        .arg(width, 0, 'f', 1)
        .arg(height, 0, 'f', 1)
        .arg(pageWidth, 0, 'f', 1)
        .arg(pageHeight, 0, 'f', 1)
        .arg(over.join(QStringLiteral(", ")));
  }

  // Six text lines down (three prints of a blank and a line break). Where
  // the row's tallest picture reaches further, the next row starts one text
  // line below its bottom.
  void EndRow() {
    if (!printers_.DocumentOpen()) {
      // Nothing printed yet: move down without starting a document, so that
      // a run of empty slots alone sends no job of blank pages.
      Skip(6);
      return;
    }
    for (int i = 0; i < 3; ++i) printers_.Print(QStringLiteral(" \r\n"));
    if (printers_.Page() == rowPage_ && printers_.CurrentY() < rowBottom_)
      printers_.SetCurrentY(rowBottom_ + printers_.TextHeight());
    rowBottom_ = 0;
    rowRight_ = 0;
  }

  // A line of text that shows nothing (empty or blanks only).
  void PrintLine(const QString& line) {
    if (printers_.DocumentOpen() || !line.trimmed().isEmpty())
      printers_.Print(line);
    else
      Skip(1);
  }

 private:
  // How far the picture's ink reaches from its left edge, in the page unit.
  double Ink(const QImage& picture) const { return printers_.PictureWidth(render::InkRight(picture)); }

  // Moves down as printing that many empty lines would, before the document
  // exists. Where that would pass the bottom, the first page starts at the
  // top instead of after a blank page.
  void Skip(int lines) {
    const double line = printers_.TextHeight();
    double y = printers_.CurrentY();
    for (int i = 0; i < lines; ++i) {
      if (y > 0 && y + line > printers_.ScaleHeight()) y = 0;
      y += line;
    }
    printers_.SetCurrentX(0);
    printers_.SetCurrentY(y);
  }

  double ColumnX(int column) const {
    if (column == 1) return kColumn1Millimetres;
    if (column == 2) return kColumn2Millimetres;
    return printers_.CurrentX();
  }

  Printers& printers_;
  int rowPage_ = 0;
  double rowBottom_ = 0;  // millimetres, on rowPage_
  double rowRight_ = 0;
};

}  // namespace

std::optional<QString> BarcodeValue(const QString& line, const QString& pattern, bool includePattern) {
  const QString trimmed = platform::TrimBlanks(line);
  // An empty pattern matches every line (a null empty line too, which
  // startsWith would not match).
  if (!pattern.isEmpty() && !trimmed.startsWith(pattern, Qt::CaseSensitive)) return std::nullopt;
  return platform::TrimBlanks(trimmed.mid(includePattern ? 0 : pattern.size()));
}

QString ShownLine(const QString& line) {
  const QString cut = line.left(kRefusedTextCharacters);
  return platform::EscapeControls(cut) + (line.size() > cut.size() ? QStringLiteral("...") : QString());
}

namespace {

void Refuse(FileRunResult& result, FileRunHost& host, qint64 number, const QString& text, const QString& reason) {
  RefusedLine refused{number, ShownLine(text), platform::EscapeControls(reason)};
  ++result.refused;
  if (result.firstRefused.size() < kRefusedLinesKept) result.firstRefused << refused;
  host.Refused(refused);
}

// Why a run printed nothing, for a run that was not cancelled.
QString NothingPrintedWhy(const FileRunResult& result, const QString& path, const QString& pattern) {
  if (!result.readError.isEmpty())
    return QStringLiteral("Reading \"%1\" failed: %2. Nothing was printed.").arg(path, result.readError);
  if (result.lines == 0) return QStringLiteral("\"%1\" is empty. Nothing was printed.").arg(path);
  if (result.matching == 0)
    return QStringLiteral("No line of \"%1\" starts with the pattern \"%2\". Nothing was printed.").arg(path, pattern);
  if (result.refused == result.matching)
    return QStringLiteral("Every matching line of \"%1\" was refused. Nothing was printed.").arg(path);
  return QStringLiteral("No line of \"%1\" gave a barcode or text to print. Nothing was printed.").arg(path);
}

// The barcode of a matching line's value, refused with the reason when none
// can be drawn (an empty value leaves an empty slot on purpose: no refusal).
Generated LineBarcode(FileRunResult& result, FileRunHost& host, const platform::TextLine& line, const QString& value) {
  if (line.tooLong) {
    Refuse(result, host, result.lines, line.text,
           QStringLiteral("The line is too long for any barcode (%1 characters; at most %2).")
               .arg(line.length)
               .arg(platform::TextLineReader::kMaxLineCharacters));
    return {};
  }
  Generated barcode = host.Generate(value);
  host.LetEventsRun();
  host.LetEventsRun();
  if (!barcode.Drawn() && !value.isEmpty()) {
    const QString why = barcode.refusal.message;
    Refuse(result, host, result.lines, line.text,
           why.isEmpty() ? QStringLiteral("Nothing was drawn for \"%1\".").arg(ShownLine(value)) : why);
  }
  return barcode;
}

// A barcode in the rows and columns: refused where it cannot fit a page
// whole. An empty slot advances like a filled one.
void PlaceInRows(FileRunResult& result, FileRunHost& host, const QString& line, const Generated& barcode,
                 RowLayout& layout, int& column) {
  layout.SetMillimetres();
  if (const QString misfit = barcode.Drawn() ? layout.Misfit(barcode.picture) : QString(); !misfit.isEmpty()) {
    Refuse(result, host, result.lines, line, misfit);
  } else if (barcode.Drawn()) {
    layout.Paint(barcode, column);
    ++result.barcodes;
  }
  if (host.Columns()) {
    if (++column > 2) {
      layout.EndRow();
      column = 0;
    }
  } else {
    layout.EndRow();
  }
}

// A barcode on the next label; an empty value leaves its label empty, a
// refused one takes none.
void PlaceOnLabel(FileRunResult& result, LabelRun& labels, const Generated& barcode, bool emptyValue) {
  if (barcode.Drawn()) {
    labels.Paint(*barcode.drawing);
    ++result.barcodes;
  } else if (emptyValue) {
    labels.Skip();
  }
}

// Sends the run's document, if anything was printed, and says how the run ended.
void EndRun(FileRunResult& result, Printers& printers, const QString& path, const QString& pattern) {
  const bool anything = printers.DocumentOpen();
  if (!printers.EndDoc()) {
    result.status = FileRunResult::Status::PrinterFailed;
    result.message = QStringLiteral("Printing \"%1\" failed: %2.").arg(path, printers.LastError());
  } else if (anything) {
    result.status = FileRunResult::Status::Sent;
    if (printers.CurrentName() == platform::kSaveAsPdf) result.pdfPath = printers.LastPdfPath();
    if (!result.readError.isEmpty())
      result.message = QStringLiteral("Reading \"%1\" failed after line %2: %3. The lines before it were printed.")
                           .arg(path)
                           .arg(result.lines)
                           .arg(result.readError);
  } else if (!result.cancelled) {
    result.message = NothingPrintedWhy(result, path, pattern);
  }
}

}  // namespace

FileRunResult RunFile(const QString& path, Printers& printers, FileRunHost& host, const LabelSheet* labels) {
  FileRunResult result;
  // A printer that cannot take the job, or a PDF that cannot be written, is
  // known before the first line is read, however long the file.
  if (const QString problem = printers.DestinationProblem(); !problem.isEmpty()) {
    result.status = FileRunResult::Status::PrinterFailed;
    result.message = QStringLiteral("Printing \"%1\" failed: %2.").arg(path, problem);
    return result;
  }
  platform::TextLineReader reader;
  if (!reader.Open(path)) {
    if ((result.cancelled = reader.Interrupted())) return result;  // while waiting for a FIFO's writer
    result.status = FileRunResult::Status::CannotOpen;
    result.message = QStringLiteral("Cannot open \"%1\" to print: %2.").arg(path, reader.Error());
    return result;
  }
  const qint64 total = reader.LineCount();
  RowLayout layout(printers);
  int column = 0;
  std::optional<LabelRun> labelRun;
  if (labels) labelRun.emplace(printers, *labels);
  platform::TextLine line;
  for (;;) {
    host.LetEventsRun();
    if (host.CancelRequested()) {
      result.cancelled = true;
      break;
    }
    if (!reader.Next(line)) {
      result.cancelled = reader.Interrupted();
      if (!result.cancelled) result.readError = reader.Error();
      break;
    }
    ++result.lines;
    host.Progress(result.lines, total < 0 ? -1 : std::max(total, result.lines));
    if (host.PrintLines() && !labelRun) layout.PrintLine(line.text);
    const std::optional<QString> value = BarcodeValue(line.text, host.Pattern(), host.IncludePattern());
    if (!value) continue;
    ++result.matching;
    const Generated barcode = LineBarcode(result, host, line, *value);
    if (labelRun) {
      PlaceOnLabel(result, *labelRun, barcode, value->isEmpty());
    } else {
      PlaceInRows(result, host, line.text, barcode, layout, column);
    }
  }
  reader.Close();
  if (labelRun) result.labelWarning = labelRun->ScannerWarning();
  EndRun(result, printers, path, host.Pattern());
  return result;
}

}  // namespace jobs
