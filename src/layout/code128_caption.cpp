#include "layout/code128_caption.h"

#include "barcode/code128.h"
#include "barcode/code_page.h"
#include "layout/bars.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace layout {

namespace {

constexpr qint64 kMaxPixels = 32767;  // the largest side of a picture

QRect RectOf(const Edges& e) {
  return QRect(static_cast<int>(e.left), static_cast<int>(e.top), static_cast<int>(e.right - e.left),
               static_cast<int>(e.bottom - e.top));
}

qint16 Clamp16(double v) { return std::isnan(v) ? 0 : static_cast<qint16>(std::clamp(v, -32768.0, 32767.0)); }

// The caption's font: its character height is the size in points at 96
// pixels to the inch (rounded, halves up), and it is drawn without
// smoothing, as a draft-quality font is.
QFont CaptionFont(const Code128Record& r) {
  // The face name holds at most 31 bytes of the code page.
  QFont font(barcode::FromAnsi(barcode::ToAnsi(r.fontName).bytes.left(31)));
  font.setPixelSize(static_cast<int>(std::clamp<qint64>((qint64{r.fontSize} * 96 + 36) / 72, 1, 1 << 14)));
  font.setWeight(r.fontStyle & 1 ? QFont::Bold : QFont::Normal);
  font.setItalic(r.fontStyle & 2);
  font.setUnderline(r.fontStyle & 4);
  font.setStrikeOut(r.fontStyle & 8);
  font.setKerning(false);  // each character is placed by its own advance
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

// The caption in the text rectangle: centred, or for "JUSTIFY" the data
// spread by extra space after each character and drawn from the left.
void PlaceCaption(Code128Geometry& g, const Code128Record& r, const QString& caption, const QString& data,
                  const QFont& font) {
  const QFontMetrics fm(font);
  const bool justify = r.alignment == Code128Alignment::Justify;
  TextItem item{justify ? data : caption, font, {}, {}, {}, {}};
  int extra = 0;
  if (justify) {
    const qint16 cell = Clamp16(std::nearbyint(static_cast<double>(Clamp16(g.textRect.right - g.textRect.left)) /
                                               static_cast<double>(data.size())));
    extra = Clamp16(static_cast<double>(cell) - fm.averageCharWidth());
  }
  qint64 width = 0;
  for (const QChar c : item.text) {
    item.advances.push_back(fm.horizontalAdvance(c) + extra);
    width += item.advances.back();
  }
  if (justify)
    g.textRect = {g.textRect.left, g.textRect.top, g.textRect.left + width,
                  g.textRect.top + fm.ascent() + fm.descent()};
  const qint64 x = (g.textRect.left + g.textRect.right - width) / 2;
  item.baseline = QPointF(static_cast<double>(x), static_cast<double>(g.textRect.top + fm.ascent()));
  item.clip = RectOf(g.textRect);
  if (!item.clip.isEmpty()) g.drawing.texts.push_back(item);
}

}  // namespace

Code128Fault CheckCode128(const Code128Record& r) {
  if (r.moduleWidth <= 0) return Code128Fault::ModuleWidth;
  if (r.barHeight <= 0) return Code128Fault::BarHeight;
  const int alignment = static_cast<int>(r.alignment);
  if (alignment < 1 || alignment > 4) return Code128Fault::Alignment;
  if (r.fontSize <= 0 || r.fontName.isEmpty() || r.fontStyle < 0 || r.fontStyle > 15 || r.orientation < 0 ||
      r.orientation > 3)
    return Code128Fault::Font;
  const int position = static_cast<int>(r.textPosition);
  if (position != 1 && position != 2) return Code128Fault::TextPosition;
  return Code128Fault::None;
}

Code128Geometry LayCode128Record(const barcode::Symbol& symbol, const Code128Record& r) {
  Code128Geometry g;
  std::string modules = symbol.modules;
  if (!r.checkCharacter && modules.size() >= 24) modules.erase(modules.size() - 24, 11);  // the check before the stop
  const bool turned = r.orientation != 0;
  const qint64 width = turned ? 0 : qint64{r.moduleWidth} * static_cast<qint64>(modules.size());
  const QString caption = barcode::FromAnsi(barcode::ToAnsi(r.caption).bytes);
  const QFont font = CaptionFont(r);
  const QFontMetrics fm(font);
  const qint64 textHeight = fm.ascent() + fm.descent();
  const qint64 leading = std::max(0, fm.ascent() + fm.descent() - font.pixelSize());  // internal leading

  g.box = {r.left, r.top, r.left + width, r.top + (turned ? 0 : r.barHeight) + 1};
  qint64 cx = 0;
  if (!caption.isEmpty()) {
    for (const QChar c : caption) cx += fm.horizontalAdvance(c);
    g.box.right = cx > width ? r.left + cx + 2 * leading : r.left + width;
    g.box.bottom = qint64{r.top} + r.barHeight + r.textGap + textHeight + 2;
  }
  // A turned caption draws nothing but the box, and leaves the totals unset
  // (0 in the window's record).
  const qint64 totalWidth = turned ? 0 : g.box.right - g.box.left;
  const qint64 totalHeight = turned ? 0 : g.box.bottom - g.box.top;
  const qint64 pictureWidth = r.left + totalWidth + 1;
  const qint64 pictureHeight = r.top + totalHeight - 1;
  g.drawing.modulePixels = r.moduleWidth;
  g.drawing.size = QSize(static_cast<int>(std::min(pictureWidth, kMaxPixels + 1)),
                         static_cast<int>(std::min(pictureHeight, kMaxPixels + 1)));
  if (turned || pictureWidth > kMaxPixels || pictureHeight > kMaxPixels) return g;
  g.total = QSize(static_cast<int>(totalWidth), static_cast<int>(totalHeight));

  const bool wide = cx > width;
  const bool top = r.textPosition == Code128TextPosition::Top && !caption.isEmpty();
  qint64 y = r.top;
  if (top) {
    g.textRect = {r.left, r.top, wide ? r.left + cx + leading : r.left + width, r.top + textHeight + r.textGap};
    y = r.top + textHeight + r.textGap + 1;
  }
  const qint64 x =
      wide ? g.box.left + static_cast<qint64>(std::nearbyint((g.box.right - g.box.left - width) / 2.0)) : r.left;
  g.barOrigin = QPoint(static_cast<int>(x), static_cast<int>(y));
  g.drawing.bars = BarsOf(modules, g.barOrigin.x(), g.barOrigin.y(), r.moduleWidth, r.barHeight);
  if (caption.isEmpty()) return g;
  if (!top) {
    const qint64 textTop = y + r.barHeight + r.textGap;
    g.textRect = {r.left, textTop, wide ? r.left + cx + 2 * leading : x + width, textTop + textHeight};
  }
  PlaceCaption(g, r, caption, symbol.data, font);
  return g;
}

Laid LayCode128B(const barcode::Symbol& symbol, const Options& options) {
  Code128Record record;
  record.caption = options.textLine ? symbol.humanReadable : QString();
  record.fontSize = options.captionFontSize;
  static const QString kFaults[] = {{},
                                    QStringLiteral("module width"),
                                    QStringLiteral("bar height"),
                                    QStringLiteral("alignment"),
                                    QStringLiteral("font"),
                                    QStringLiteral("text position")};
  if (const Code128Fault fault = CheckCode128(record); fault != Code128Fault::None) {
    const QString why = fault == Code128Fault::Font && record.fontSize <= 0
                            ? QStringLiteral("Code 128 B needs a font size above 0.")
                            : QStringLiteral("Code 128 B could not be drawn: its %1 is out of range.")
                                  .arg(kFaults[static_cast<int>(fault)]);
    return {std::nullopt, {why, -1, barcode::kCode128BErrorBox}};
  }
  Code128Geometry g = LayCode128Record(symbol, record);
  if (!g.total) {  // the window's caption is never turned: too large a picture
    const qint64 width = record.left + (g.box.right - g.box.left) + 1;
    return {std::nullopt,
            {QStringLiteral("The text is too long for a Code 128 B barcode (%1 characters): the picture would be %2 "
                            "pixels wide, and a picture takes at most %3.")
                 .arg(symbol.data.size())
                 .arg(width)
                 .arg(kMaxPixels),
             -1,
             {}}};
  }
  return {std::move(g.drawing), {}};
}

}  // namespace layout
