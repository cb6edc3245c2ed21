#include "printing/file_run.h"

#include "platform/blanks.h"
#include "platform/picture_box.h"
#include "platform/text_lines.h"

#include <algorithm>

namespace printing {

namespace {

using platform::PageUnit;
using platform::Printers;

// Where the pictures of the current row went, so that a picture whose bars
// reach past its slot pushes the next slot or row aside instead of being
// overlapped.
class RowLayout {
 public:
  explicit RowLayout(Printers& printers) : printers_(printers) {}

  void Paint(const QImage& picture, int& column) {
    const double height = printers_.PictureHeight(picture);
    const double ink = printers_.PictureWidth(picture) * platform::InkRight(picture) / std::max(1, picture.width());
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
    printers_.PaintPicture(picture, x, y);
    if (rowPage_ != printers_.Page()) {
      rowPage_ = printers_.Page();
      rowBottom_ = 0;
    }
    rowBottom_ = std::max(rowBottom_, y + height);
    rowRight_ = x + ink;
  }

  // Six text lines down (three prints of a blank and a line break). Where
  // the row's tallest picture reaches further, the next row starts one text
  // line below its bottom.
  void EndRow() {
    for (int i = 0; i < 3; ++i) printers_.Print(QStringLiteral(" \r\n"));
    if (printers_.Page() == rowPage_ && printers_.CurrentY() < rowBottom_)
      printers_.SetCurrentY(rowBottom_ + printers_.TextHeight());
    rowBottom_ = 0;
    rowRight_ = 0;
  }

 private:
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
  if (!trimmed.startsWith(pattern, Qt::CaseSensitive)) return std::nullopt;
  return platform::TrimBlanks(trimmed.mid(includePattern ? 0 : pattern.size()));
}

FileRunResult RunFile(const QString& path, Printers& printers, FileRunWindow& window) {
  FileRunResult result;
  platform::TextLineReader reader;
  if (!reader.Open(path)) {
    result.status = FileRunResult::Status::CannotOpen;
    result.message = QStringLiteral("Cannot open \"%1\" to print: %2.").arg(path, reader.Error());
    return result;
  }
  const qint64 total = reader.LineCount();
  RowLayout layout(printers);
  int column = 0;
  platform::TextLine read;
  for (;;) {
    window.LetEventsRun();
    if (window.CancelRequested()) {
      result.cancelled = true;
      break;
    }
    if (!reader.Next(read)) break;
    const QString line = read.text;
    ++result.lines;
    window.Progress(result.lines, std::max(total, result.lines));
    if (window.PrintLines()) printers.Print(line);
    const std::optional<QString> value = BarcodeValue(line, window.Pattern(), window.IncludePattern());
    if (!value) continue;
    const QImage picture = window.Generate(*value);
    window.LetEventsRun();
    window.LetEventsRun();
    printers.SetScaleMode(PageUnit::Millimetres);
    if (!picture.isNull()) {
      layout.Paint(picture, column);
      ++result.barcodes;
    }
    // An empty slot advances like a filled one.
    if (window.Columns()) {
      if (++column > 2) {
        layout.EndRow();
        column = 0;
      }
    } else {
      layout.EndRow();
    }
  }
  reader.Close();

  const bool anything = printers.DocumentOpen();
  if (!printers.EndDoc()) {
    result.status = FileRunResult::Status::PrinterFailed;
    result.message = QStringLiteral("Printing \"%1\" failed: %2.").arg(path, printers.LastError());
  } else if (anything) {
    result.status = FileRunResult::Status::Sent;
    if (printers.CurrentName() == platform::kSaveAsPdf) result.pdfPath = printers.LastPdfPath();
  }
  return result;
}

}  // namespace printing
