#include "platform/device_context.h"

#include "barcode/code_page.h"
#include "platform/controls.h"
#include "platform/picture_box.h"
#include "render/image.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace platform::gdi {

namespace {
// Stock objects live at fixed handles above the created ones.
constexpr HGDIOBJ kStockBase = 0x40000000;
constexpr HGDIOBJ kInitialFont = kStockBase + 0x100;

// The pixel size (em height) of a font asked for by a logical height.
int PixelSize(const QFont& family, std::int32_t lfHeight) {
  if (lfHeight < 0) return static_cast<int>(std::min<std::int64_t>(-static_cast<std::int64_t>(lfHeight), 1 << 14));
  if (lfHeight == 0) return 16;  // 12 points
  // A positive height is the whole cell (ascent + descent).
  QFont probe = family;
  probe.setPixelSize(100);
  const QFontMetricsF fm(probe);
  const double cell = fm.ascent() + fm.descent();
  return std::max(1, static_cast<int>(std::lround(std::min(lfHeight, 1 << 14) * 100.0 / std::max(cell, 1.0))));
}
}  // namespace

std::int32_t MulDiv(std::int32_t number, std::int32_t numerator, std::int32_t denominator) {
  if (denominator == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
  std::int64_t q = product / denominator;
  const std::int64_t r = product % denominator;
  if (2 * std::llabs(r) >= std::llabs(static_cast<std::int64_t>(denominator)))
    q += ((product < 0) != (denominator < 0)) ? -1 : 1;
  if (q > std::numeric_limits<std::int32_t>::max() || q < std::numeric_limits<std::int32_t>::min()) return -1;
  return static_cast<std::int32_t>(q);
}

bool SetRect(RECT* rect, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
  if (!rect) return false;
  *rect = {left, top, right, bottom};
  return true;
}

DeviceContext::DeviceContext(QImage& image, const QFont& initialFont) : image_(image) {
  const auto stock = [this](int which, Kind kind, bool null, COLORREF colour) {
    Object o;
    o.kind = kind;
    o.stock = true;
    o.null = null;
    o.colour = colour;
    objects_[kStockBase + static_cast<HGDIOBJ>(which)] = o;
  };
  stock(WHITE_BRUSH, Kind::Brush, false, RGB(255, 255, 255));
  stock(BLACK_BRUSH, Kind::Brush, false, RGB(0, 0, 0));
  stock(NULL_BRUSH, Kind::Brush, true, 0);
  stock(WHITE_PEN, Kind::Pen, false, RGB(255, 255, 255));
  stock(BLACK_PEN, Kind::Pen, false, RGB(0, 0, 0));
  stock(NULL_PEN, Kind::Pen, true, 0);
  Object font;
  font.kind = Kind::Font;
  font.stock = true;
  font.font = initialFont;
  objects_[kInitialFont] = font;
  font_ = kInitialFont;
  brush_ = kStockBase + WHITE_BRUSH;
  pen_ = kStockBase + BLACK_PEN;
}

int DeviceContext::GetDeviceCaps(int index) const {
  switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
      return static_cast<int>(kPixelsPerInch);
    case HORZRES:
      return image_.width();
    case VERTRES:
      return image_.height();
    default:
      return 0;
  }
}

HFONT DeviceContext::CreateFontIndirectA(const LOGFONTA& lf) {
  const auto nameLength = static_cast<qsizetype>(strnlen(lf.lfFaceName, sizeof lf.lfFaceName));
  const QString face = barcode::FromAnsi(QByteArrayView(lf.lfFaceName, nameLength));
  Object o;
  o.kind = Kind::Font;
  o.font = face.isEmpty() ? Selected(kInitialFont).font : QFont(face);
  o.font.setPixelSize(PixelSize(o.font, lf.lfHeight));
  if (lf.lfWeight > 0) o.font.setWeight(static_cast<QFont::Weight>(std::clamp(lf.lfWeight, 1, 1000)));
  o.font.setItalic(lf.lfItalic != 0);
  o.font.setUnderline(lf.lfUnderline != 0);
  o.font.setStrikeOut(lf.lfStrikeOut != 0);
  o.font.setKerning(false);  // GDI places characters by their own advances
  // Draft (1) and non-antialiased (3) quality: crisp pixels.
  if (lf.lfQuality == 1 || lf.lfQuality == 3) o.font.setStyleStrategy(QFont::NoAntialias);
  o.escapement = lf.lfEscapement % 3600;
  const HGDIOBJ h = next_++;
  objects_[h] = o;
  return h;
}

HBRUSH DeviceContext::CreateSolidBrush(COLORREF colour) {
  Object o;
  o.kind = Kind::Brush;
  o.colour = colour & 0xFFFFFF;
  const HGDIOBJ h = next_++;
  objects_[h] = o;
  return h;
}

HPEN DeviceContext::CreatePen(int style, int /*width: drawn one pixel wide*/, COLORREF colour) {
  Object o;
  o.kind = Kind::Pen;
  o.null = style == PS_NULL;
  o.colour = colour & 0xFFFFFF;
  const HGDIOBJ h = next_++;
  objects_[h] = o;
  return h;
}

HGDIOBJ DeviceContext::GetStockObject(int which) const {
  const HGDIOBJ h = kStockBase + static_cast<HGDIOBJ>(which);
  return which >= 0 && objects_.count(h) ? h : 0;
}

const DeviceContext::Object* DeviceContext::Find(HGDIOBJ handle) const {
  const auto it = objects_.find(handle);
  return it == objects_.end() ? nullptr : &it->second;
}

HGDIOBJ DeviceContext::SelectObject(HGDIOBJ object) {
  const Object* o = Find(object);
  if (!o) return 0;
  HGDIOBJ* slot = o->kind == Kind::Font ? &font_ : o->kind == Kind::Brush ? &brush_ : &pen_;
  return std::exchange(*slot, object);
}

bool DeviceContext::DeleteObject(HGDIOBJ object) {
  const Object* o = Find(object);
  if (!o || o->stock || object == font_ || object == brush_ || object == pen_) return false;
  objects_.erase(object);
  return true;
}

int DeviceContext::Advance(QChar c) const {
  return QFontMetrics(Selected(font_).font).horizontalAdvance(c);
}

bool DeviceContext::GetTextMetricsA(TEXTMETRICA* metrics) const {
  if (!metrics) return false;
  const QFont& font = Selected(font_).font;
  const QFontMetrics fm(font);
  TEXTMETRICA tm;
  tm.tmAscent = fm.ascent();
  tm.tmDescent = fm.descent();
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  tm.tmInternalLeading = std::max(0, tm.tmHeight - std::max(font.pixelSize(), 0));
  tm.tmExternalLeading = std::max(0, fm.leading());
  tm.tmAveCharWidth = fm.averageCharWidth();
  tm.tmMaxCharWidth = fm.maxWidth();
  tm.tmWeight = font.weight();
  tm.tmItalic = font.italic() ? 255 : 0;
  tm.tmUnderlined = font.underline() ? 1 : 0;
  tm.tmStruckOut = font.strikeOut() ? 1 : 0;
  *metrics = tm;
  return true;
}

bool DeviceContext::GetTextExtentPoint32A(const char* text, int count, SIZE* size) const {
  if (!text || !size || count < 0) return false;
  const QString s = barcode::FromAnsi(QByteArrayView(text, count));
  std::int64_t cx = 0;
  for (const QChar c : s) cx += Advance(c) + charExtra_;
  TEXTMETRICA tm;
  GetTextMetricsA(&tm);
  size->cx = static_cast<std::int32_t>(std::clamp<std::int64_t>(cx, 0, std::numeric_limits<std::int32_t>::max()));
  size->cy = tm.tmHeight;
  return true;
}

COLORREF DeviceContext::SetTextColor(COLORREF colour) { return std::exchange(textColour_, colour & 0xFFFFFF); }

int DeviceContext::SetBkMode(int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return std::exchange(bkMode_, mode);
}

int DeviceContext::SetTextCharacterExtra(int extra) { return std::exchange(charExtra_, extra); }

int DeviceContext::DrawTextA(const char* text, int count, RECT* rect, unsigned format) {
  if (!text || !rect) return 0;
  const qsizetype length = count < 0 ? static_cast<qsizetype>(std::strlen(text)) : count;
  const QString s = barcode::FromAnsi(QByteArrayView(text, length));

  // Lines of glyphs, after prefix processing.
  std::vector<std::vector<Glyph>> lines(1);
  bool underlineNext = false;
  for (qsizetype i = 0; i < s.size(); ++i) {
    const QChar c = s.at(i);
    if (!(format & DT_SINGLELINE) && (c == u'\r' || c == u'\n')) {
      if (c == u'\r' && i + 1 < s.size() && s.at(i + 1) == u'\n') ++i;
      lines.emplace_back();
      underlineNext = false;
      continue;
    }
    if (!(format & DT_NOPREFIX) && c == u'&') {
      if (i + 1 < s.size() && s.at(i + 1) == u'&') {
        lines.back().push_back({c, underlineNext});
        underlineNext = false;
        ++i;
      } else {
        underlineNext = true;
      }
      continue;
    }
    lines.back().push_back({c, underlineNext});
    underlineNext = false;
  }

  TEXTMETRICA tm;
  GetTextMetricsA(&tm);
  const Object& font = Selected(font_);
  const QFontMetrics fm(font.font);
  const int lineHeight = tm.tmHeight;
  const int height = lineHeight * static_cast<int>(lines.size());

  std::int64_t widest = 0;
  std::vector<std::int64_t> widths;
  for (const auto& line : lines) {
    std::int64_t w = 0;
    for (const Glyph& g : line) w += Advance(g.c) + charExtra_;
    widths.push_back(w);
    widest = std::max(widest, w);
  }
  if (format & DT_CALCRECT) {
    rect->right = static_cast<std::int32_t>(rect->left + widest);
    rect->bottom = rect->top + height;
    return height;
  }

  const QRect clip(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
  // Clipped to a rectangle off the image (a measuring pass on a scratch
  // pixel): nothing would show, so nothing is shaped or drawn.
  if (!(format & DT_NOCLIP) && !clip.intersects(image_.rect())) return height;
  QPainter p(&image_);
  if (!(format & DT_NOCLIP)) p.setClipRect(clip);
  p.setFont(font.font);
  const QColor ink = QColor::fromRgb(ToQRgb(textColour_));
  p.setPen(ink);
  int y = rect->top;
  for (std::size_t l = 0; l < lines.size(); ++l) {
    std::int64_t x = rect->left;
    if (format & DT_CENTER)
      x = (static_cast<std::int64_t>(rect->left) + rect->right - widths[l]) / 2;
    else if (format & DT_RIGHT)
      x = rect->right - widths[l];
    p.save();
    p.translate(static_cast<double>(x), y);
    if (font.escapement != 0) p.rotate(-font.escapement / 10.0);
    int dx = 0;
    for (const Glyph& g : lines[l]) {
      const int advance = Advance(g.c);
      if (bkMode_ == OPAQUE) p.fillRect(QRect(dx, 0, advance + charExtra_, lineHeight), QColor::fromRgb(ToQRgb(backColour_)));
      p.drawText(QPoint(dx, tm.tmAscent), QString(g.c));
      if (g.underlined)
        p.fillRect(QRect(dx, tm.tmAscent + std::max(1, fm.underlinePos()), advance, std::max(1, fm.lineWidth())), ink);
      dx += advance + charExtra_;
    }
    p.restore();
    y += lineHeight;
  }
  return height;
}

void DeviceContext::FillPixels(int left, int top, int right, int bottom, COLORREF colour) {
  render::FillPixels(image_, left, top, right, bottom, ToQRgb(colour));
}

bool DeviceContext::Rectangle(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  const Object& pen = Selected(pen_);
  const Object& brush = Selected(brush_);
  if (pen.null) {
    if (!brush.null) FillPixels(left, top, right - 1, bottom - 1, brush.colour);
    return true;
  }
  if (!brush.null && brush.colour == pen.colour && right > left && bottom > top) {
    // Outline and fill of one colour (every bar): one fill does both.
    FillPixels(left, top, right, bottom, pen.colour);
    return true;
  }
  if (!brush.null) FillPixels(left + 1, top + 1, right - 1, bottom - 1, brush.colour);
  FillPixels(left, top, right, top + 1, pen.colour);
  FillPixels(left, bottom - 1, right, bottom, pen.colour);
  FillPixels(left, top, left + 1, bottom, pen.colour);
  FillPixels(right - 1, top, right, bottom, pen.colour);
  return true;
}

int DeviceContext::SetStretchBltMode(int mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
  return std::exchange(stretchMode_, mode);
}

bool DeviceContext::StretchBlt(int xDest, int yDest, int wDest, int hDest, const DeviceContext& source, int xSrc,
                               int ySrc, int wSrc, int hSrc, std::uint32_t rop) {
  if (rop != SRCCOPY || wDest <= 0 || hDest <= 0 || wSrc <= 0 || hSrc <= 0) return false;
  // The source span [lo, hi) of destination index d along one axis.
  const auto span = [](int d, int wD, int wS) {
    const auto lo = static_cast<int>(static_cast<std::int64_t>(d) * wS / wD);
    const auto hi = static_cast<int>(static_cast<std::int64_t>(d + 1) * wS / wD);
    return std::pair<int, int>(lo, std::max(hi, lo + 1));
  };
  const QImage& src = source.image_;
  const auto pixel = [&src](int x, int y) -> QRgb {
    if (x < 0 || y < 0 || x >= src.width() || y >= src.height()) return 0xFFFFFFFF;
    return reinterpret_cast<const QRgb*>(src.constScanLine(y))[x] | 0xFF000000;
  };
  const int dy0 = std::max(0, -yDest);
  const int dy1 = std::min(hDest, image_.height() - yDest);
  const int dx0 = std::max(0, -xDest);
  const int dx1 = std::min(wDest, image_.width() - xDest);
  for (int dy = dy0; dy < dy1; ++dy) {
    const auto [sy0, sy1] = span(dy, hDest, hSrc);
    auto* out = reinterpret_cast<QRgb*>(image_.scanLine(yDest + dy));
    for (int dx = dx0; dx < dx1; ++dx) {
      const auto [sx0, sx1] = span(dx, wDest, wSrc);
      QRgb v = pixel(xSrc + sx0, ySrc + sy0);
      for (int sy = sy0; sy < sy1; ++sy) {
        for (int sx = sx0; sx < sx1; ++sx) {
          const QRgb s = pixel(xSrc + sx, ySrc + sy);
          if (stretchMode_ == BLACKONWHITE)
            v &= s;
          else if (stretchMode_ == WHITEONBLACK)
            v |= s;
        }
      }
      out[xDest + dx] = v;
    }
  }
  return true;
}

}  // namespace platform::gdi
