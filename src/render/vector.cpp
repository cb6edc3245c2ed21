#include "render/vector.h"

#include <QFontInfo>
#include <QPainter>

namespace render {

void PaintText(QPainter& painter, const layout::TextItem& item) {
  painter.save();
  if (!item.stretch.Identity() && item.stretch.from > 0 && item.stretch.to > 0) {
    painter.scale(static_cast<double>(item.stretch.to) / item.stretch.from, 1);
    painter.translate(-item.stretch.origin, 0);
  }
  if (!item.clip.isNull()) painter.setClipRect(item.clip, Qt::IntersectClip);
  painter.setFont(item.font);
  painter.setPen(QColor(Qt::black));
  if (item.advances.empty()) {
    painter.drawText(item.baseline, item.text);
  } else {
    QPointF at = item.baseline;
    for (qsizetype i = 0; i < item.text.size() && i < static_cast<qsizetype>(item.advances.size()); ++i) {
      painter.drawText(at, QString(item.text.at(i)));
      at.rx() += item.advances[static_cast<size_t>(i)];
    }
  }
  painter.restore();
}

void Paint(QPainter& painter, const layout::Drawing& drawing, bool whiteBackground) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(Qt::NoPen);
  if (whiteBackground) painter.fillRect(QRect(QPoint(0, 0), drawing.size), Qt::white);
  painter.setBrush(Qt::black);
  QList<QRect> bars(drawing.bars.begin(), drawing.bars.end());
  painter.drawRects(bars);
  for (layout::TextItem item : drawing.texts) {
    // The face the name stands for on this system, so that a document read
    // elsewhere names a face that exists ("MS Sans Serif" is an alias here).
    item.font.setFamily(QFontInfo(item.font).family());
    PaintText(painter, item);
  }
  painter.restore();
}

}  // namespace render
