#include "platform/controls.h"

#include <cmath>

namespace platform {

int TwipsToPixels(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }

void PlaceTwips(QWidget* control, double left, double top, double width, double height) {
  const QSize natural = control->sizeHint();
  control->setGeometry(TwipsToPixels(left), TwipsToPixels(top),
                       width > 0 ? TwipsToPixels(width) : natural.width(),
                       height > 0 ? TwipsToPixels(height) : natural.height());
}

QWidget* MakeFrame(QWidget* container, const QString& caption, double left, double top,
                   double width, double height) {
  QWidget* frame = caption.isEmpty() ? new QWidget(container) : new QGroupBox(caption, container);
  PlaceTwips(frame, left, top, width, height);
  return frame;
}

QLabel* MakeLabel(QWidget* container, const QString& caption, double left, double top,
                  double width, double height) {
  auto* label = new QLabel(caption, container);
  PlaceTwips(label, left, top, width, height);
  return label;
}

QLineEdit* MakeTextBox(QWidget* container, const QString& text, double left, double top,
                       double width, double height) {
  auto* box = new QLineEdit(text, container);
  PlaceTwips(box, left, top, width, height);
  return box;
}

QPushButton* MakeButton(QWidget* container, const QString& caption, double left, double top,
                        double width, double height) {
  auto* button = new QPushButton(caption, container);
  PlaceTwips(button, left, top, width, height);
  return button;
}

QRadioButton* MakeOption(QWidget* container, const QString& caption, double left, double top) {
  auto* option = new QRadioButton(caption, container);
  PlaceTwips(option, left, top);
  return option;
}

CheckBox::CheckBox(QWidget* container, const QString& caption, double left, double top)
    : QCheckBox(caption, container) {
  setTristate(false);
  PlaceTwips(this, left, top);
}

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

}  // namespace platform
