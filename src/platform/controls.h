#pragma once
// Window controls placed in twips (1440 per inch, 15 per logical pixel), the
// unit all window geometry of the program is given in, with the values the
// handlers work with (check value 0/1/2, option value).
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace platform {

inline constexpr double kTwipsPerInch = 1440.0;
inline constexpr double kPixelsPerInch = 96.0;
inline constexpr double kTwipsPerPixel = kTwipsPerInch / kPixelsPerInch;  // 15

// Twips to whole logical pixels (nearest).
int TwipsToPixels(double twips);

// Places a control at left/top in its container, with a width and height;
// a width or height of 0 keeps the control's natural size in that direction.
void PlaceTwips(QWidget* control, double left, double top, double width = 0, double height = 0);

// A frame; with an empty caption, a plain borderless container.
QWidget* MakeFrame(QWidget* container, const QString& caption, double left, double top,
                   double width, double height);

QLabel* MakeLabel(QWidget* container, const QString& caption, double left, double top,
                  double width = 0, double height = 0);
QLineEdit* MakeTextBox(QWidget* container, const QString& text, double left, double top,
                       double width, double height);
QPushButton* MakeButton(QWidget* container, const QString& caption, double left, double top,
                        double width, double height);
QRadioButton* MakeOption(QWidget* container, const QString& caption, double left, double top);

// A check box whose value is 0 (unticked), 1 (ticked) or 2 (grey).
class CheckBox : public QCheckBox {
 public:
  CheckBox(QWidget* container, const QString& caption, double left, double top);
  int Value() const;
  void SetValue(int value);
};

}  // namespace platform
