#include "window/controls.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include <cmath>

namespace window {

int TwipsToPixels(double twips) { return static_cast<int>(std::lround(twips * kLayoutScale / kTwipsPerPixel)); }

void PlaceTwips(QWidget* control, double left, double top, double width, double height) {
  const QSize natural = control->sizeHint();
  control->setGeometry(TwipsToPixels(left), TwipsToPixels(top),
                       width > 0 ? TwipsToPixels(width) : natural.width(),
                       height > 0 ? TwipsToPixels(height) : natural.height());
}

namespace {

template <class Control>
Control* Placed(Control* control, double left, double top, double width = 0, double height = 0) {
  PlaceTwips(control, left, top, width, height);
  return control;
}

}  // namespace

QWidget* MakeFrame(QWidget* container, const QString& caption, double left, double top, double width, double height) {
  QWidget* frame = caption.isEmpty() ? new QWidget(container) : new QGroupBox(caption, container);
  return Placed(frame, left, top, width, height);
}

QLabel* MakeLabel(QWidget* container, const QString& caption, double left, double top, double width, double height) {
  return Placed(new QLabel(caption, container), left, top, width, height);
}

QLineEdit* MakeTextBox(QWidget* container, const QString& text, double left, double top, double width, double height) {
  return Placed(new QLineEdit(text, container), left, top, width, height);
}

QPushButton* MakeButton(QWidget* container, const QString& caption, double left, double top, double width,
                        double height) {
  return Placed(new QPushButton(caption, container), left, top, width, height);
}

QRadioButton* MakeOption(QWidget* container, const QString& caption, double left, double top) {
  return Placed(new QRadioButton(caption, container), left, top);
}

void KeepTitleWhole(QWidget* window) {
  // Title bars often use a bold, somewhat larger font than the window's;
  // the icon and the buttons take about 160 pixels more.
  QFont title = window->font();
  title.setBold(true);
  title.setPointSizeF(title.pointSizeF() > 0 ? title.pointSizeF() * 1.2 : 12);
  window->setMinimumWidth(QFontMetrics(title).horizontalAdvance(window->windowTitle()) + 160);
}

void SpreadCaption(QLabel* label, const QWidget* box) {
  const QString text = label->text();
  const qsizetype last = text.lastIndexOf(QLatin1Char(' ')) + 1;
  if (last <= 0) return;
  QFont font = label->font();
  const auto advance = [&](qreal spacing) {
    font.setWordSpacing(spacing);
    return QFontMetricsF(font).horizontalAdvance(text.left(last));
  };
  // How far one unit of word spacing moves the last word (the font engine
  // may count a run of blanks once or each blank).
  const qreal natural = advance(0);
  const qreal perUnit = advance(1) - natural;
  const int target = box->geometry().right() + 1 + 3 - label->x() - label->contentsRect().x();
  if (perUnit <= 0) return;
  font.setWordSpacing(std::ceil((target - natural) / perUnit * 100) / 100);
  label->setFont(font);
  label->resize(label->sizeHint().width(), label->height());
}

CheckBox::CheckBox(QWidget* container, const QString& caption, double left, double top, double width,
                   double height)
    : QCheckBox(caption, container), wraps_(width > 0) {
  setTristate(false);
  PlaceTwips(this, left, top, width, height);
}

QRect CheckBox::CaptionRect() const {
  QStyleOptionButton option;
  initStyleOption(&option);
  const QRect box = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
  const int gap = style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
  return rect().adjusted(box.right() + 1 + gap, 0, 0, 0);
}

void CheckBox::paintEvent(QPaintEvent* event) {
  if (!wraps_) return QCheckBox::paintEvent(event);
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.rect = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
  painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, option);
  const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  painter.drawText(CaptionRect(), flags, text());
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = painter.boundingRect(CaptionRect(), flags, text()).adjusted(-1, 0, 1, 0);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
  }
}

bool CheckBox::hitButton(const QPoint& pos) const { return wraps_ ? rect().contains(pos) : QCheckBox::hitButton(pos); }

int CheckBox::Value() const {
  switch (checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
  }
}

void CheckBox::SetValue(int value) {
  setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

void ZoomedPicture::SetPicture(const QImage& picture, int zoom) {
  picture_ = picture;
  resize(picture.size() * zoom);
  update();
}

void ZoomedPicture::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);  // nearest pixel: sharp modules
  painter.drawImage(rect(), picture_);
}

}  // namespace window
