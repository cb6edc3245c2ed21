#include "jobs/print_job.h"

#include "jobs/label_run.h"
#include "platform/numbers.h"
#include "platform/printers.h"
#include "render/image.h"

namespace jobs {

namespace {

// Why the picture would be cut at the right or bottom edge of the page's
// printable area (a label's, often) at the offsets in centimetres, or "".
QString Misfit(const platform::Printers& printers, const QImage& picture, double left, double top) {
  const double ink = printers.PictureWidth(render::InkRight(picture));
  const double right = 10 * (left + ink - printers.ScaleWidth());
  const double below = 10 * (top + printers.PictureHeight(picture.height()) - printers.ScaleHeight());
  if (right <= 0 && below <= 0) return {};
  QStringList past;
  if (right > 0) past << QStringLiteral("%1 mm past the right edge").arg(right, 0, 'f', 1);
  if (below > 0) past << QStringLiteral("%1 mm past the bottom").arg(below, 0, 'f', 1);
  return QStringLiteral("The barcode does not fit the page at these offsets: it would reach %1 of the printable area "
                        "(%2 x %3 mm).")
      .arg(past.join(QStringLiteral(" and ")))
      .arg(10 * printers.ScaleWidth(), 0, 'f', 1)
      .arg(10 * printers.ScaleHeight(), 0, 'f', 1);
}

}  // namespace

QString JobPlace(const platform::Printers& printers) {
  const QString pdf = printers.LastPdfPath();
  return printers.CurrentName() != platform::kSaveAsPdf
             ? QStringLiteral("the printer \"%1\"").arg(printers.CurrentName())
             : QStringLiteral("%1 (%2)").arg(pdf, platform::kSaveAsPdf);
}

// The barcode alone on the sheet's first label chosen.
static Printed PrintOnLabel(platform::Printers& printers, const Generated& barcode, const PrintRequest& request) {
  if (!barcode.Drawn()) return {Printed::Problem::NoBarcode, kNoBarcode, {}};
  printers.SetDocName(request.title);
  LabelRun labels(printers, *request.labels);
  labels.Paint(*barcode.drawing);
  if (!printers.EndDoc())
    return {Printed::Problem::Failed, QStringLiteral("The barcode could not be printed: ") + printers.LastError(), {}};
  return {Printed::Problem::None, QStringLiteral("1 barcode printed to %1").arg(JobPlace(printers)),
          labels.ScannerWarning()};
}

Printed PrintBarcode(platform::Printers& printers, const Generated& barcode, const PrintRequest& request) {
  using Problem = Printed::Problem;
  printers.SelectPrinter(request.printer);
  if (request.labels) return PrintOnLabel(printers, barcode, request);
  printers.SetScaleMode(platform::PageUnit::Centimetres);
  if (!platform::IsNumeric(request.left)) return {Problem::LeftOffset, kOffsetNotNumeric, {}};
  if (!platform::IsNumeric(request.top)) return {Problem::TopOffset, kOffsetNotNumeric, {}};
  if (!barcode.Drawn()) return {Problem::NoBarcode, kNoBarcode, {}};
  const float left = static_cast<float>(*platform::ParseNumber(request.left));
  const float top = static_cast<float>(*platform::ParseNumber(request.top));
  if (const QString misfit = Misfit(printers, barcode.picture, left, top); !misfit.isEmpty())
    return {Problem::Misfit, misfit, {}};
  printers.SetDocName(request.title);
  printers.Paint(*barcode.drawing, left, top);
  if (!printers.EndDoc())
    return {Problem::Failed, QStringLiteral("The barcode could not be printed: ") + printers.LastError(), {}};
  return {Problem::None, QStringLiteral("1 barcode printed to %1").arg(JobPlace(printers)), {}};
}

}  // namespace jobs
