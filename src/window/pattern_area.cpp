#include "window/pattern_area.h"

#include "window/main_window.h"
#include "platform/controls.h"
#include "platform/device_context.h"
#include "platform/numbers.h"
#include "symbologies/code128/pattern_barcode.h"

#include <algorithm>
#include <cmath>

namespace window {

symbologies::Outcome DrawPatternArea(MainWindow& window, const QString& selector) {
  window.Picture5->SetVisible(true);
  window.Picture1->SetVisible(false);
  window.Picture5->Cls();
  QString text = window.barcodeText->text();
  const double height = window.BarHeightValue();
  const std::int16_t moduleWidth = 2;
  // Ten pixels per unit of the height value, but never below the printable floor.
  const float barHeight = static_cast<float>(std::max(height * 10, double{symbologies::kMinBarPixels}));
  const float left = 1.0f;
  const float top = 20.0f;
  const symbologies::Outcome outcome = code128::DrawPatternBarcode(selector, text, *window.Picture5, moduleWidth,
                                                                   barHeight, left, top, window.textLineCheck->Value());
  if (outcome.drawn) StretchToWidth(window.stretchWidthBox->text(), *window.Picture5, *window.Picture8, *window.Picture4, moduleWidth, left);
  return outcome;
}

void StretchToWidth(const QString& widthText, platform::PictureBox& Picture5, platform::PictureBox& Picture8,
                    platform::PictureBox& Picture4, int moduleWidth, double left) {
  namespace gdi = platform::gdi;
  using platform::kTwipsPerPixel;
  const auto requested = platform::ParseNumber(widthText);
  if (!requested || *requested == 800) return;

  // The areas take 20000 twips; Picture5 keeps a wider drawing whole.
  Picture5.SetWidth(std::max(20000.0, Picture5.Width()));
  Picture8.SetWidth(20000);
  Picture4.SetWidth(20000);

  // The source starts on the module grid (which begins at left), so that each
  // module maps onto whole destination pixels.
  const int leftPx = static_cast<int>(std::lround(Picture5.ToPixelsX(left)));
  const int phase = ((leftPx % moduleWidth) + moduleWidth) % moduleWidth;
  const int xSrc = phase == 0 ? 0 : phase - moduleWidth;
  const int modules = std::max(1, (platform::InkRight(Picture5.Image()) - xSrc + moduleWidth - 1) / moduleWidth);
  const int wSrc = modules * moduleWidth;
  const double wanted = platform::RoundHalfEven(moduleWidth * std::clamp(*requested, 0.0, 1e6) / 800);
  const int largest = std::max(1, platform::PictureBox::kMaxPixels / modules);
  const int modulePixels = static_cast<int>(std::clamp(wanted, 1.0, static_cast<double>(largest)));
  const int wDest = modules * modulePixels;
  const int h = Picture5.PixelHeight();
  if (Picture4.PixelWidth() < wDest) Picture4.SetWidth(wDest * kTwipsPerPixel);
  if (Picture4.PixelHeight() < h) Picture4.SetHeight(h * kTwipsPerPixel);

  {
    gdi::DeviceContext source(Picture5.MutableImage());
    gdi::DeviceContext target(Picture4.MutableImage());
    target.SetStretchBltMode(gdi::BLACKONWHITE);  // shrinking: black wins, no bar is lost
    target.StretchBlt(0, 0, wDest, h, source, xSrc, 0, wSrc, h, gdi::SRCCOPY);
  }
  Picture4.Refresh();
  Picture5.Cls();
  if (Picture5.PixelWidth() < wDest) Picture5.SetWidth(wDest * kTwipsPerPixel);
  Picture5.SetPicture(Picture4.Image());
}

}  // namespace window
