#pragma once
// The printers the program can print on: every printer the system (CUPS)
// reports, by device name, in the system's order, then the built-in printer
// that writes PDF files.
//
// `Printers` is the one current printer of the process and its open document.
// Positions are in the page unit (centimetres or millimetres) with the origin
// at the top-left corner of the printable area, y growing downwards. The
// document opens with the first output and is sent as one job by EndDoc.
//
// Qt renders every document as PDF. "Save as PDF" writes it through an
// OutputFile (whole or not at all) on A4 pages; a CUPS queue gets it through
// libcups, which gives the job id, after a look at whether the queue takes
// jobs, on the queue's default media and within its printable area as CUPS
// gives them (a label printer's 2 x 1 inch label, say). A signal that
// interrupts the run (platform/interruption.h) ends any wait for CUPS.
#include "layout/drawing.h"
#include "platform/output_file.h"

#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QPagedPaintDevice;
class QPainter;
class QPdfWriter;
class QTemporaryFile;

namespace platform {

inline const QString kSaveAsPdf = QStringLiteral("Save as PDF");
// Device pixels per inch of the documents, and of a preview's device.
inline constexpr int kDocumentResolution = 1200;

QStringList PrinterNames();
// The system's default printer, or "Save as PDF" where it has none.
QString DefaultPrinterName();

// Where "Save as PDF" writes: $QUILLON_PDF_DIR, else Quillon/ in the user's
// documents folder; "" where the user has no home.
QString DefaultPdfFolder();
// $HOME, else the home folder the password database gives ("" for none).
QString HomeFolder();

enum class PageUnit { Centimetres, Millimetres };

class Printers {
 public:
  explicit Printers(QString pdfFolder = DefaultPdfFolder());
  ~Printers();
  Printers(const Printers&) = delete;
  Printers& operator=(const Printers&) = delete;

  // The installed printers, asked afresh each time.
  QStringList Names() const { return PrinterNames(); }
  const QString& CurrentName() const { return current_; }
  // Makes the first printer whose device name equals name exactly the
  // current one; with no match the current printer stays as it is. Ignored
  // while a document is open (it belongs to the printer it started on).
  void SelectPrinter(const QString& name);

  // Where "Save as PDF" jobs go, each under the next free name.
  void SetPdfFolder(const QString& folder) { pdfFolder_ = folder; }
  // The next "Save as PDF" job writes exactly this file (this job only).
  void SetPdfFile(const QString& path, Replace replace) {
    pdfFile_ = path;
    pdfReplace_ = replace;
  }

  // Why the next job could not go where it would (a queue that cannot take
  // it, a PDF that cannot be written), or "". Asked before a long run, so
  // that it fails before reading its input rather than after.
  QString DestinationProblem() const;

  // The job title of the next document.
  void SetDocName(const QString& name) { docName_ = name; }

  PageUnit ScaleMode() const { return unit_; }
  void SetScaleMode(PageUnit unit) { unit_ = unit; }
  double CurrentX() const;
  double CurrentY() const;
  void SetCurrentX(double x);
  void SetCurrentY(double y);
  // The printable area of the current printer's page, in the page unit.
  double ScaleWidth() const;
  double ScaleHeight() const;
  // The height of one text line in the printer's font, in the page unit.
  double TextHeight() const;
  // A picture's size on paper (1 pixel = 1/96 inch), in the page unit.
  double PictureWidth(int pixels) const;
  double PictureHeight(int pixels) const { return PictureWidth(pixels); }

  // Prints text with its top-left at the current position; every line break
  // in it ("\r\n", "\r" or "\n") and its end move to the left edge of the
  // next line. A line that would pass the bottom goes on a new page.
  void Print(const QString& text);
  // Paints a drawing with its top-left at (x, y) at its natural size, as
  // vectors: bars as filled rectangles, sharp at any printer resolution, and
  // text as text. The current position does not move.
  void Paint(const layout::Drawing& drawing, double x, double y);
  // The next documents have pages of this size in points with no margins,
  // so that positions are from the paper's top-left (a label sheet's page,
  // a roll's label), whatever the printer's own media; nothing: the
  // printer's page again. Ignored while a document is open.
  void SetSheetPage(std::optional<QSizeF> points);
  // Paints a drawing scaled uniformly into a rectangle in points from the
  // top-left of the printable area; turned a quarter turn anticlockwise (its
  // bottom edge along the rectangle's right side) when turned says so.
  void PaintInto(const layout::Drawing& drawing, const QRectF& points, bool turned);
  // A thin outline of a label in points: a rectangle with round corners of
  // radius, or an ellipse.
  void Outline(const QRectF& points, double radius, bool round);
  // While set, documents are painted on device (a print preview's, at
  // kDocumentResolution) on the printer's pages, and EndDoc sends nothing.
  void SetPreviewDevice(QPagedPaintDevice* device) { preview_ = device; }

  // Starts a new page; the position returns to the top-left. The page is
  // only added to the document once something is drawn on it.
  void NewPage();
  // Counts the pages of the open document from 1 (0 with none open).
  int Page() const { return page_; }
  bool DocumentOpen() const { return painter_ != nullptr; }
  // Sends the open document as one job. With nothing printed there is no
  // document and nothing is sent (true). False when the job could not be
  // written or sent (the PDF file could not be written whole, the queue is
  // missing, paused or refuses jobs, CUPS does not answer): see LastError();
  // nothing is then left behind, neither a file nor a waiting job.
  bool EndDoc();

  QString LastError() const { return lastError_; }
  // The file that the last finished "Save as PDF" job wrote ("" otherwise).
  QString LastPdfPath() const { return lastPdfPath_; }
  // The CUPS job id of the last job sent to a queue, e.g. "PDF-17" ("" otherwise).
  QString LastJobId() const { return lastJobId_; }
  // Jobs sent since the program started.
  int JobsSent() const { return jobsSent_; }

 private:
  bool EnsureDocument();
  bool StartPainting();
  void StartPendingPage();
  bool Fail(const QString& why);
  bool SubmitToQueue();
  QString SubmitFailure(const QString& reason) const;
  QString OpenPdf(OutputFile& output) const;
  const QPageLayout& Layout() const;
  QPdfWriter& Measure() const;
  double UnitsPerDevicePixel() const;
  double DevicePixels(double units) const { return units / UnitsPerDevicePixel(); }

  QString pdfFolder_;
  QString pdfFile_;
  Replace pdfReplace_ = Replace::Never;
  QString pdfTarget_;  // the folder or file of the open "Save as PDF" document
  QString current_;
  QString docName_ = QStringLiteral("Quillon");
  PageUnit unit_ = PageUnit::Centimetres;
  mutable std::unique_ptr<QPageLayout> layout_;  // of current_, kept between jobs
  mutable std::unique_ptr<QPdfWriter> measure_;  // never painted on: font metrics only
  std::unique_ptr<OutputFile> output_;           // the open "Save as PDF" document
  std::unique_ptr<QTemporaryFile> spool_;        // the open document for a queue
  std::unique_ptr<QPdfWriter> writer_;
  QPagedPaintDevice* device_ = nullptr;   // the open document's: writer_ or preview_
  QPagedPaintDevice* preview_ = nullptr;
  std::optional<QPageLayout> sheet_;      // the page of SetSheetPage
  std::unique_ptr<QPainter> painter_;  // the open document
  double lineHeight_ = 0;  // of the open document's font, device pixels
  double ascent_ = 0;
  double pageHeight_ = 0;
  double x_ = 0;  // device pixels
  double y_ = 0;
  int page_ = 0;
  bool pagePending_ = false;  // NewPage was asked for; nothing is on the new page yet
  int jobsSent_ = 0;
  QString lastPdfPath_;
  QString lastJobId_;
  QString lastError_;
  bool failed_ = false;  // the open document could not be started
};

}  // namespace platform
