#include "symbologies/code128/dc_code128.h"

#include "barcode/code_page.h"
#include "platform/numbers.h"
#include "symbologies/code128/pattern_barcode.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace code128 {

namespace gdi = platform::gdi;

namespace {

std::int32_t Clamp32(std::int64_t v) {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::int16_t Clamp16(double v) {
  return static_cast<std::int16_t>(std::clamp(v, -32768.0, 32767.0));
}

// Index of the first character of data that is not accepted, or -1.
qsizetype FirstRefused(const QString& data) {
  const barcode::AnsiText ansi = barcode::ToAnsi(data);
  const qsizetype limit = ansi.ok() ? data.size() : ansi.firstUnmappable;
  // Before the first unmappable character, characters and bytes match one to
  // one (every Windows-1252 character is a single UTF-16 unit).
  for (qsizetype i = 0; i < limit; ++i)
    if (!Code128Value(static_cast<unsigned char>(ansi.bytes.at(i)))) return i;
  return ansi.ok() ? -1 : ansi.firstUnmappable;
}

// Draws one pattern at x, bars as rectangles with the selected brush and pen;
// returns the x after its last element.
std::int64_t DrawPattern(gdi::DeviceContext& hdc, std::string_view widths, std::int64_t x, std::int32_t y,
                         std::int32_t m, std::int32_t h) {
  for (std::size_t i = 0; i < widths.size(); ++i) {
    const std::int64_t w = static_cast<std::int64_t>(widths[i] - '0') * m;
    if (i % 2 == 0) hdc.Rectangle(Clamp32(x), y, Clamp32(x + w), Clamp32(static_cast<std::int64_t>(y) + h));
    x += w;
  }
  return x;
}

}  // namespace

std::optional<int> Code128Value(unsigned char c) {
  if (c >= 32 && c <= 127) return c - 32;
  switch (c) {
    case 179:
      return 96;
    case 178:
      return 97;
    case 188:
      return 100;
    case 185:
      return 102;
    default:
      return std::nullopt;
  }
}

std::int32_t ValidateCode128(const Code128Spec& s) {
  std::int32_t code = 0;
  if (s.ModuleWidth <= 0)
    code = kBadModuleWidth;
  else if (s.BarHeight <= 0)
    code = kBadBarHeight;
  else if (s.Alignment < 1 || s.Alignment > 4)
    code = kBadAlignment;
  else if (s.FontSize <= 0 || s.FontName.isEmpty() || s.FontStyle < 0 || s.FontStyle > 15 || s.Orientation < 0 ||
           s.Orientation > 3)
    code = kBadFont;
  else if (s.Symbology != 16)
    code = kBadSymbology;
  else if (s.TextPosition != 1 && s.TextPosition != 2)
    code = kBadTextPosition;
  if (!s.Data.isEmpty() && FirstRefused(s.Data) >= 0) code = kBadCharacter;
  return code;
}

std::vector<int> Code128SymbolValues(const QByteArray& ansiData, bool checkCharacter) {
  std::vector<int> values{kStartB};
  std::int64_t sum = kStartB;
  std::int64_t weight = 1;
  for (const char c : ansiData) {
    const int v = Code128Value(static_cast<unsigned char>(c)).value_or(0);
    values.push_back(v);
    sum += v * weight;
    ++weight;
  }
  if (checkCharacter) values.push_back(static_cast<int>(sum % 103));
  return values;
}

qsizetype Code128WeightsOverflow(const QString& data) {
  const QByteArray ansi = barcode::ToAnsi(data).bytes;
  std::int64_t weight = 1;
  for (const char c : ansi) {
    if (Code128Value(static_cast<unsigned char>(c)).value_or(0) * weight > 32767) return weight;
    ++weight;
  }
  return 0;
}

std::int32_t DrawCode128(Code128Spec& spec, gdi::DeviceContext& hdc) {
  Code128Spec s = spec;  // worked on, copied back after drawing
  const std::int32_t code = ValidateCode128(s);
  if (s.Data.isEmpty() || code != 0) return code;

  const QByteArray data = barcode::ToAnsi(s.Data).bytes;
  const QByteArray caption = barcode::ToAnsi(s.Caption).bytes;
  const bool withCheck = s.CheckCharacter == 1;
  const std::vector<int> values = Code128SymbolValues(data, withCheck);
  const std::int64_t m = s.ModuleWidth;
  const bool hasCaption = !caption.isEmpty();

  const bool top = s.TextPosition == 2;  // else below the bars
  const int dpi = hdc.GetDeviceCaps(s.Orientation == 0 || s.Orientation == 2 ? gdi::LOGPIXELSY : gdi::LOGPIXELSX);
  const std::int32_t charHeight = gdi::MulDiv(s.FontSize, dpi, 72);

  // Measure: the symbol width and the height of bars, gap and text.
  std::int64_t W = m * (11 * (static_cast<std::int64_t>(data.size()) + (withCheck ? 2 : 1)) + 13);
  std::int64_t Hm = s.BarHeight;
  if (hasCaption) {
    Hm = static_cast<std::int64_t>(s.TextGap) + s.BarHeight + charHeight;
    if (top) {
      gdi::TEXTMETRICA entry;
      hdc.GetTextMetricsA(&entry);
      Hm += entry.tmExternalLeading;
    }
  }
  if (s.Orientation != 0) W = Hm = 0;

  // The text font.
  gdi::LOGFONTA lf;
  lf.lfHeight = -charHeight;
  lf.lfEscapement = s.Orientation == 0 ? 3600 : 900 * s.Orientation;
  lf.lfWeight = (s.FontStyle & 1) ? 700 : 400;
  lf.lfItalic = (s.FontStyle & 2) ? 255 : 0;
  lf.lfUnderline = (s.FontStyle & 4) ? 1 : 0;
  lf.lfStrikeOut = (s.FontStyle & 8) ? 1 : 0;
  lf.lfCharSet = 0;
  lf.lfOutPrecision = 3;
  lf.lfClipPrecision = 2;
  lf.lfQuality = 1;
  lf.lfPitchAndFamily = 2;
  // The face name field holds 31 bytes and the terminating zero; a longer
  // name is cut there.
  const QByteArray face = barcode::ToAnsi(s.FontName).bytes.left(sizeof lf.lfFaceName - 1);
  std::memcpy(lf.lfFaceName, face.constData(), static_cast<std::size_t>(face.size()));
  const gdi::HFONT font = hdc.CreateFontIndirectA(lf);
  const gdi::HGDIOBJ entryFont = hdc.SelectObject(font);
  gdi::TEXTMETRICA tm;
  hdc.GetTextMetricsA(&tm);

  // The background box.
  std::int64_t boxLeft = s.Left;
  std::int64_t boxRight = s.Left + W;
  std::int64_t boxTop = s.Top;
  std::int64_t boxBottom = s.Top + Hm + 1;
  gdi::SIZE extent;
  if (hasCaption && hdc.GetTextExtentPoint32A(caption.constData(), static_cast<int>(caption.size()), &extent)) {
    boxLeft = s.Left;
    boxRight = extent.cx > W ? s.Left + static_cast<std::int64_t>(extent.cx) + 2 * tm.tmInternalLeading : s.Left + W;
    boxBottom = static_cast<std::int64_t>(s.Top) + s.BarHeight + s.TextGap + (top ? extent.cy : tm.tmHeight) + 2;
    boxTop = s.Top;
  }
  const std::int64_t cx = extent.cx;
  const std::int64_t cy = extent.cy;
  const bool wideText = cx > W;

  const gdi::HBRUSH back = hdc.CreateSolidBrush(s.BackColor);
  hdc.SelectObject(back);
  hdc.SelectObject(hdc.GetStockObject(gdi::NULL_PEN));
  // With the null pen the fill ends one pixel short: it covers boxLeft to
  // boxRight + 1 and boxTop to boxBottom - 1.
  hdc.Rectangle(Clamp32(boxLeft), Clamp32(boxTop), Clamp32(boxRight + 2), Clamp32(boxBottom));
  hdc.SelectObject(hdc.GetStockObject(gdi::BLACK_PEN));
  hdc.SelectObject(hdc.GetStockObject(gdi::WHITE_BRUSH));
  hdc.DeleteObject(back);

  const gdi::HBRUSH barBrush = hdc.CreateSolidBrush(s.BarColor);
  const gdi::HPEN barPen = hdc.CreatePen(gdi::PS_SOLID, 1, s.BarColor);
  hdc.SelectObject(barBrush);
  hdc.SelectObject(barPen);
  hdc.SetTextColor(s.TextColor);
  hdc.SetBkMode(gdi::TRANSPARENT);

  if (s.Orientation == 0) {
    // Bar origin; a caption above moves the bars down.
    gdi::RECT textRect;
    std::int64_t y = s.Top;
    if (hasCaption && top) {
      gdi::SetRect(&textRect, s.Left, s.Top, Clamp32(wideText ? s.Left + cx + tm.tmInternalLeading : s.Left + W),
                   Clamp32(s.Top + cy + s.TextGap));
      y = s.Top + cy + s.TextGap + 1;
    }
    const std::int64_t x =
        wideText ? boxLeft + static_cast<std::int64_t>(platform::RoundHalfEven((boxRight - boxLeft - W) / 2.0))
                 : s.Left;

    const auto& patterns = Code128Patterns();
    std::int64_t xEnd = x;
    for (const int v : values) xEnd = DrawPattern(hdc, patterns[static_cast<std::size_t>(v)], xEnd, Clamp32(y),
                                                  s.ModuleWidth, s.BarHeight);
    xEnd = DrawPattern(hdc, patterns[kStop], xEnd, Clamp32(y), s.ModuleWidth, s.BarHeight);

    if (hasCaption) {
      if (!top) {
        const std::int64_t textTop = y + s.BarHeight + s.TextGap;
        gdi::SetRect(&textRect, s.Left, Clamp32(textTop),
                     Clamp32(wideText ? s.Left + cx + 2 * tm.tmInternalLeading : xEnd), Clamp32(textTop + cy));
      }
      const unsigned flags = s.Alignment == 3 ? gdi::DT_RIGHT : (s.Alignment == 1 || s.Alignment == 4) ? 0 : gdi::DT_CENTER;
      hdc.SetTextColor(s.TextColor);
      if (s.Alignment == 4) {
        // Data spread over the rectangle by extra space after every character.
        const std::int16_t width = Clamp16(static_cast<double>(textRect.right) - textRect.left);
        const std::int16_t cell = Clamp16(platform::RoundHalfEven(static_cast<double>(width) / data.size()));
        hdc.SetTextCharacterExtra(Clamp16(static_cast<double>(cell) - tm.tmAveCharWidth));
        hdc.DrawTextA(data.constData(), -1, &textRect, gdi::DT_CALCRECT | gdi::DT_CENTER | gdi::DT_NOPREFIX);
        hdc.DrawTextA(data.constData(), -1, &textRect, gdi::DT_CENTER | gdi::DT_NOPREFIX);
      } else {
        // The caption shows the encoded text as it is: an ampersand is drawn,
        // not taken as an underline prefix.
        hdc.DrawTextA(caption.constData(), static_cast<int>(caption.size()), &textRect,
                      flags | gdi::DT_CENTER | gdi::DT_NOPREFIX);
      }
    }

    s.TotalWidth = Clamp32(boxRight - boxLeft);
    s.TotalHeight = Clamp32(boxBottom - boxTop);
    spec = s;
  }

  hdc.SelectObject(hdc.GetStockObject(gdi::NULL_BRUSH));
  hdc.SelectObject(hdc.GetStockObject(gdi::BLACK_PEN));
  hdc.DeleteObject(barBrush);
  hdc.DeleteObject(barPen);
  // Give the context its font back and release ours.
  hdc.SelectObject(entryFont);
  hdc.DeleteObject(font);
  return 0;
}

QString Code128Problem(const Code128Spec& spec, std::int32_t code) {
  if (code == kBadCharacter) {
    const qsizetype i = std::max<qsizetype>(FirstRefused(spec.Data), 0);
    const qsizetype len = (spec.Data.at(i).isHighSurrogate() && i + 1 < spec.Data.size()) ? 2 : 1;
    return QStringLiteral("Code 128 B cannot encode \"%1\" (character %2). It takes the characters from space to ~, "
                          "DEL, and \u00b9 \u00b2 \u00b3 \u00bc as function characters.")
        .arg(spec.Data.mid(i, len))
        .arg(i + 1);
  }
  if (code == kBadFont && spec.FontSize <= 0) return QStringLiteral("Code 128 B needs a font size above 0.");
  return QStringLiteral("Code 128 B could not be drawn (error %1).").arg(code);
}

}  // namespace code128
