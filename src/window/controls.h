#pragma once
// Window controls placed in twips (1440 per inch, 15 per logical pixel), the
// unit all window geometry of the program is given in, with the values the
// handlers work with (check value 0/1/2, option value).
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace window {

inline constexpr double kTwipsPerInch = 1440.0;
inline constexpr double kPixelsPerInch = 96.0;
inline constexpr double kTwipsPerPixel = kTwipsPerInch / kPixelsPerInch;  // 15

// The window's controls are laid out on the twips grid enlarged by this
// factor: at 15 twips a pixel the grid was made for a narrow 8-point bitmap
// font and leaves no room for the captions in today's UI fonts. Picture
// areas keep 15 twips a pixel for what they draw (only their place moves).
inline constexpr double kLayoutScale = 1.4;

// Window geometry in twips to whole logical pixels (nearest), on the
// enlarged grid.
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

// Makes a small window (a progress window) wide enough that a window
// manager's title bar shows its whole title beside its buttons.
void KeepTitleWhole(QWidget* window);

// A label whose caption is two words apart by blanks ("From:     To:"), the
// first box between them: the blanks are widened or narrowed so that the
// last word starts just after that box, and the label fits its caption.
void SpreadCaption(QLabel* label, const QWidget* box);

// A check box whose value is 0 (unticked), 1 (ticked) or 2 (grey). Given a
// width and height, its caption wraps onto as many lines as it needs there.
class CheckBox : public QCheckBox {
 public:
  CheckBox(QWidget* container, const QString& caption, double left, double top, double width = 0,
           double height = 0);
  int Value() const;
  void SetValue(int value);
  bool WrapsCaption() const { return wraps_; }
  // Where the caption is drawn (the whole widget but the box and its gap).
  QRect CaptionRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool hitButton(const QPoint& pos) const override;

 private:
  bool wraps_ = false;
};

// A picture shown enlarged by a whole number: each of its pixels a sharp
// square, scaled when painted (once a frame) rather than on every change.
class ZoomedPicture : public QWidget {
 public:
  explicit ZoomedPicture(QWidget* container) : QWidget(container) {}
  const QImage& picture() const { return picture_; }
  // Shows the picture at the zoom and takes its size.
  void SetPicture(const QImage& picture, int zoom);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace window
