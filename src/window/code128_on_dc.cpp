// The "Code 128 B" drawing: the device-context renderer on Picture1.
#include "window/main_window.h"

#include "platform/device_context.h"
#include "platform/numbers.h"
#include "symbologies/code128/dc_code128.h"
#include "symbologies/code128/pattern_barcode.h"

#include <algorithm>

namespace window {

namespace {

// The font size box as whole points. Something that is not a number falls
// back to 8 and large sizes stop at 144, as for the Code 39 text line; 0 and
// below go on to the renderer, which refuses them.
std::int32_t FontSizeOf(const QString& text) {
  const auto value = platform::ParseNumber(text);
  if (!value) return 8;
  return static_cast<std::int32_t>(platform::RoundHalfEven(std::clamp(*value, -1.0, 144.0)));
}

}  // namespace

symbologies::Outcome MainWindow::DrawCode128OnDc() {
  using symbologies::Outcome;
  namespace gdi = platform::gdi;
  Picture1->Cls();

  code128::Code128Spec spec;
  spec.Data = barcodeText->text();
  spec.Caption = textLineCheck->Value() != 0 ? barcodeText->text() : QString();
  spec.FontName = QStringLiteral("MS Sans Serif");
  spec.Symbology = 16;
  spec.Alignment = 1;
  spec.TextPosition = 1;
  spec.FontSize = FontSizeOf(fontSizeBox->text());
  spec.FontStyle = 0;
  spec.BarHeight = 40;
  spec.Left = 2;
  spec.Top = 1;
  spec.ModuleWidth = 1;
  spec.TextGap = 4;
  spec.Reserved3 = 1;
  spec.Reserved4 = 1;
  spec.Orientation = 0;
  spec.BarColor = gdi::RGB(0, 0, 0);
  spec.BackColor = gdi::RGB(255, 255, 255);
  spec.TextColor = gdi::RGB(0, 0, 0);
  spec.CheckCharacter = 1;

  if (const qsizetype at = code128::Code128WeightsOverflow(spec.Data))
    return Outcome::Refused(code128::Code128TooLong(spec.Data.size(), at));

  // A first pass on a scratch pixel finds the size of the drawing; Picture1
  // then takes exactly that size, whatever the Code 39 pass or an earlier
  // run left there.
  QImage scratch(1, 1, QImage::Format_RGB32);
  code128::Code128Spec measured = spec;
  gdi::DeviceContext measure(scratch, Picture1->Font());
  if (const std::int32_t result = code128::DrawCode128(measured, measure); result != 0)
    return Outcome::Refused(code128::Code128Problem(spec, result), code128::kCode128ErrorText);
  if (spec.Data.isEmpty()) return Outcome::Refused({});
  const qint64 width = static_cast<qint64>(spec.Left) + measured.TotalWidth + 1;
  const qint64 height = static_cast<qint64>(spec.Top) + measured.TotalHeight - 1;
  if (width > platform::PictureBox::kMaxPixels || height > platform::PictureBox::kMaxPixels)
    return Outcome::Refused(
        QStringLiteral("The text is too long for a Code 128 B barcode (%1 characters): the picture would be %2 "
                       "pixels wide, and a picture takes at most %3.")
            .arg(spec.Data.size())
            .arg(width)
            .arg(platform::PictureBox::kMaxPixels));
  Picture1->SetWidth(static_cast<double>(width) * platform::kTwipsPerPixel);
  Picture1->SetHeight(static_cast<double>(height) * platform::kTwipsPerPixel);
  Picture1->Cls();

  gdi::DeviceContext dc(Picture1->MutableImage(), Picture1->Font());
  code128::DrawCode128(spec, dc);
  Picture1->Refresh();
  return Outcome::Drawn();
}

}  // namespace window
