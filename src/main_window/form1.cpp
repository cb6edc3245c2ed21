#include "main_window/form1.h"

#include "main_window/pattern_area.h"
#include "platform/numbers.h"
#include "symbologies/code128/pattern_barcode.h"
#include "symbologies/retail/code39.h"
#include "symbologies/retail/ean.h"
#include "symbologies/retail/upca.h"

#include <QScrollArea>

#include <algorithm>
#include <exception>
#include <initializer_list>
#include <limits>
#include <tuple>

namespace main_window {

using platform::PictureBox;
using symbologies::Outcome;

Form1::Form1(platform::Services& services, QWidget* parent)
    : QMainWindow(parent), services_(services) {
  setWindowTitle(kWindowTitle);
  BuildLayout();
  ConnectHandlers();
  BuildMenus();
  BuildOptions();
}

void Form1::BuildLayout() {
  using namespace platform;
  Client = new QWidget(this);
  Client->setFixedSize(TwipsToPixels(7440), TwipsToPixels(6330));
  // An 8-point sans serif (11 pixels at 96 dpi), the same on every machine:
  // Liberation Sans has Arial's widths, which the enlarged grid leaves room for.
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(11);
  Client->setFont(font);
  setCentralWidget(Client);

  Label1 = MakeLabel(Client, QStringLiteral("Enter Bar Code Text here:"), 120, 120, 6975, 255);
  Text1 = MakeTextBox(Client, QStringLiteral("Enter Bar Code Text here"), 120, 360, 7095, 285);
  // The box holds any text, so that a longer one is refused with its length
  // instead of being cut short without a word.
  Text1->setMaxLength(std::numeric_limits<int>::max());

  // The drawing areas. Stacking, bottom to top: UPC-A's area, Code 39's,
  // the pattern area; EAN's result area under EAN's drawing area.
  // The frame shows the whole barcode: a wider or taller one than the frame
  // scrolls (the drawing itself is never scaled).
  Frame9View = new QScrollArea(Client);
  Frame9View->setFrameShape(QFrame::NoFrame);
  Frame9View->setFocusPolicy(Qt::NoFocus);
  PlaceTwips(Frame9View, 120, 840, 7095, 1095);
  Frame9 = new QWidget;
  Frame9->resize(Frame9View->size());
  // White like the drawing areas on it, so that they read as one surface.
  QPalette white = Frame9->palette();
  white.setColor(QPalette::Window, Qt::white);
  Frame9->setPalette(white);
  Frame9->setAutoFillBackground(true);
  Frame9View->setPalette(white);
  Frame9View->setWidget(Frame9);
  Picture9 = new PictureBox(Frame9, 240, 0, 5055, 1095);
  Picture9->SetVisible(false);  // shows for UPC only: one empty area at start
  Picture1 = new PictureBox(Frame9, 240, 120, 6615, 855);
  Picture5 = new PictureBox(Frame9, 240, 120, 6615, 1095);
  Picture5->SetScaleMode(ScaleMode::Pixels);
  Picture5->SetVisible(false);
  LabelHint = MakeLabel(Frame9, {}, 240, 120, 6615, 855);
  LabelHint->setWordWrap(true);
  LabelHint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  LabelHint->setStyleSheet(QStringLiteral("color: #b00000;"));
  LabelHint->setAttribute(Qt::WA_TransparentForMouseEvents);
  LabelHint->setVisible(false);

  Picture10 = new PictureBox(Client, 720, 840, 3375, 1095);
  Picture10->SetVisible(false);
  Picture22 = new PictureBox(Client, 120, 840, 5775, 975);
  Picture22->SetVisible(false);
  // Scratch areas, outside the visible part of the window.
  Picture4 = new PictureBox(Client, 8640, 720, 6855, 1095);
  Picture4->SetScaleMode(ScaleMode::Pixels);
  Picture8 = new PictureBox(Client, 8640, 2040, 6615, 1095);
  Picture8->SetScaleMode(ScaleMode::Pixels);
  Picture2 = new PictureBox(Client, 8640, 3360, 6930, 900);

  Frame8 = MakeFrame(Client, {}, 120, 2040, 7095, 495);
  Command1 = MakeButton(Frame8, QStringLiteral("Bar Code"), 0, 120, 1095, 255);
  Command2 = MakeButton(Frame8, QStringLiteral("Print"), 1200, 120, 1095, 255);
  Command3 = MakeButton(Frame8, QStringLiteral("Open File"), 2400, 120, 1095, 255);
  Command4 = MakeButton(Frame8, QStringLiteral("Print File"), 3600, 120, 1095, 255);
  Command9 = MakeButton(Frame8, QStringLiteral("Copy Bar Code to Clipboard"), 4800, 120, 2295, 255);

  FrameOptions = new QGroupBox(QStringLiteral("Options"), Client);
  PlaceTwips(FrameOptions, 120, 2640, 7215, 3615);

  Frame17 = MakeFrame(FrameOptions, QStringLiteral("Bar Code Type"), 120, 240, 2535, 975);
  Option2 = MakeOption(Frame17, QStringLiteral("Code 39"), 120, 240);
  Option1 = MakeOption(Frame17, QStringLiteral("Code 128 B"), 1200, 240);
  Option8 = MakeOption(Frame17, QStringLiteral("UPC"), 120, 480);
  Option9 = MakeOption(Frame17, QStringLiteral("EAN"), 1200, 480);
  Option5 = MakeOption(Frame17, QStringLiteral("Code 2/5"), 480, 720);
  Option4 = MakeOption(Frame17, QStringLiteral("Code 128-1"), 2280, 960);
  Option4->setVisible(false);  // reachable only through the saved options
  Option1->setChecked(true);

  Frame57 = MakeFrame(FrameOptions, QStringLiteral("Bar Code Text Options"), 2760, 240, 2295, 975);
  Check2 = new CheckBox(Frame57, QStringLiteral("Include Text in Bar Code"), 120, 360);

  Frame10 = MakeFrame(FrameOptions, QStringLiteral("Printer Selection"), 5160, 240, 1935, 975);
  Combo1 = new QComboBox(Frame10);
  Combo1->setEditable(true);
  Combo1->setInsertPolicy(QComboBox::NoInsert);
  PlaceTwips(Combo1, 120, 360, 1695, 315);

  Frame27 = MakeFrame(
      FrameOptions,
      QStringLiteral("Line Pattern of File (Leave Blank to Make is Line in the File into a Barcode)"),
      120, 1320, 6975, 735);
  Text4 = MakeTextBox(Frame27, {}, 120, 240, 2895, 285);
  // Three captions share one row, each wrapping in the room up to the next.
  Check1 = new CheckBox(Frame27, QStringLiteral("Include Text in Barcode"), 3120, 180, 1140, 450);
  CheckPrintLine = new CheckBox(Frame27, QStringLiteral("Print Line Above Barcode"), 4320, 180, 1500, 450);
  Checkqq = new CheckBox(Frame27, QStringLiteral("Print Columns"), 5880, 180, 975, 450);

  Frame4 = MakeFrame(FrameOptions, QStringLiteral("File Path"), 120, 2160, 4335, 615);
  Text5 = MakeTextBox(Frame4, {}, 120, 240, 3015, 285);
  Command5 = MakeButton(Frame4, QStringLiteral("Browse"), 3240, 240, 975, 255);

  Frame3 = MakeFrame(FrameOptions, QStringLiteral("BarCode Size"), 4560, 2160, 2535, 615);
  MakeLabel(Frame3, QStringLiteral("Height:"), 120, 240);
  Text8 = MakeTextBox(Frame3, QStringLiteral("1.4"), 960, 240, 375, 285);
  MakeLabel(Frame3, QStringLiteral("Font Size:"), 1440, 240);
  Text3 = MakeTextBox(Frame3, QStringLiteral("8"), 2040, 240, 375, 285);
  Label5 = MakeLabel(Frame3, QStringLiteral("Width:"), 2640, 240);
  Text9 = MakeTextBox(Frame3, QStringLiteral("800"), 3120, 240, 375, 285);
  Label5->setVisible(false);  // the width is reachable only through the saved options
  Text9->setVisible(false);

  Frame147 = MakeFrame(FrameOptions, QStringLiteral("Increament Barcode"), 120, 2880, 3495, 615);
  Label8 = MakeLabel(Frame147, QStringLiteral("From:                 To:"), 120, 240);
  Text21 = MakeTextBox(Frame147, QStringLiteral("100"), 600, 240, 735, 285);
  Text22 = MakeTextBox(Frame147, QStringLiteral("500"), 1560, 240, 615, 285);
  Command8 = MakeButton(Frame147, QStringLiteral("Run It"), 2280, 240, 1095, 255);

  Frame157 = MakeFrame(Client, QStringLiteral("Barcode Off Set"), 3840, 5520, 1935, 615);
  Label9 = MakeLabel(Frame157, QStringLiteral("Left:            Top:"), 120, 240);
  Text14 = MakeTextBox(Frame157, QStringLiteral("1"), 480, 240, 495, 285);
  Text15 = MakeTextBox(Frame157, QStringLiteral("1"), 1320, 240, 495, 285);

  // One label holds the captions of two boxes, apart by blanks: its second
  // caption goes in the gap after the first box, whatever the font's blank.
  SpreadCaption(Label8, Text21);
  SpreadCaption(Label9, Text14);
}

void Form1::ConnectHandlers() {
  connect(Text1, &QLineEdit::textChanged, this, &Form1::Text1_Change);
  connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
  connect(Text8, &QLineEdit::textChanged, this, &Form1::Text8_Change);
  ConnectPrintHandlers();
  ConnectRunHandlers();
}

// --- Generate command ------------------------------------------------------

void Form1::Command1_Click() {
  textGiven_ = true;
  lastOutcome_ = Generate();
  ShowOutcome();
  // An explicit command also says so in a message box where the encoder has
  // one; typing only updates the hint.
  if (!lastOutcome_.boxText.isEmpty()) services_.dialogs.Ok(lastOutcome_.boxText, {});
}

void Form1::Text1_Change() {
  textGiven_ = true;
  lastOutcome_ = Generate();
  ShowOutcome();
}

Outcome Form1::Generate() {
  // The drawing areas never take the focus, so drawing runs no validation of
  // other controls.
  Picture10->SetVisible(Option9->isChecked());
  const std::initializer_list<PictureBox*> areas = {Picture1, Picture2,  Picture4, Picture5,
                                                    Picture9, Picture10, Picture22};
  // Narrowed first, so that clearing fills only what is left of them.
  Picture1->SetWidth(100);
  Picture2->SetWidth(100);
  for (PictureBox* p : areas) p->Cls();
  // Every run starts from the same sizes, so that a picture depends on its
  // own text and options alone, never on what an earlier run drew.
  Picture1->SetHeight(picture1Height_);
  for (const auto& [p, width, height] : {std::tuple{Picture5, 6615.0, 1095.0}, std::tuple{Picture4, 6855.0, 1095.0},
                                         std::tuple{Picture8, 6615.0, 1095.0}}) {
    p->SetWidth(width);
    p->SetHeight(height);
  }
  for (PictureBox* p : areas) p->SetPicture(Picture8->Picture());
  Picture22->SetVisible(false);
  Picture5->SetVisible(false);
  Picture9->SetVisible(Option8->isChecked());
  Picture1->SetVisible(!Option8->isChecked());

  const QString text = Text1->text();
  if (text.isEmpty()) return Outcome::Refused({});
  if (text.size() > kLongestText)
    return Outcome::Refused(QStringLiteral("The text has %1 characters; a barcode text takes at most %2.")
                                .arg(text.size())
                                .arg(kLongestText));

  Outcome outcome;
  PictureBox* drawnArea = Picture1;
  if (Option1->isChecked()) {
    // The Code 39 routine runs first for Code 128 B; the Code 128 renderer
    // then clears, sizes and draws the whole of Picture1, so what the Code 39
    // pass leaves shows only where the renderer refuses (Picture1 keeps the
    // Code 39 size, cleared). The renderer reads nothing of what the pass
    // changes, so the pass runs only then, with the same result (a file run
    // spends a quarter less on each barcode).
    outcome = DrawCode128OnDc();
    Picture1->SetScaleMode(platform::ScaleMode::Pixels);
    if (!outcome.drawn) {
      QString copy = text;
      retail::DrawCode39(copy, *Picture1, Check2->Value());
      Picture1->Cls();
    }
  } else if (Option4->isChecked()) {
    drawnArea = Picture5;
    outcome = DrawPatternArea(*this, QStringLiteral("128"));
  } else if (Option5->isChecked()) {
    if (text.size() < 2) return Outcome::Refused(code128::Interleaved2of5Problem(text));
    drawnArea = Picture5;
    outcome = DrawPatternArea(*this, QStringLiteral("25"));
  } else if (Option8->isChecked()) {
    drawnArea = Picture9;
    outcome = retail::DrawUpcA(text, *Picture9, Check2->Value());
  } else if (Option9->isChecked()) {
    Picture22->SetVisible(true);
    outcome = retail::DrawEan(text, *Picture22);
    if (outcome.drawn) {
      Picture2->SetPicture(Picture22->Image());
      Picture10->SetPicture(Picture22->Image());
    } else {
      // Nothing to show: uncover the hint that says why.
      Picture22->SetVisible(false);
      Picture10->SetVisible(false);
    }
  } else {
    QString copy = text;
    outcome = retail::DrawCode39(copy, *Picture1, Check2->Value());
  }

  Picture2->Cls();
  // Only a complete barcode becomes the finished picture: printing and the
  // clipboard refuse an empty Picture2.
  if (!Option9->isChecked() && outcome.drawn) Picture2->SetPicture(drawnArea->Image());
  return outcome;
}

void Form1::FitFrame9() {
  QRect used(QPoint(0, 0), Frame9View->viewport()->size());
  for (QWidget* area : Frame9->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (!area->isHidden() && area != LabelHint) used |= area->geometry();
  Frame9->resize(used.size());
}

void Form1::ShowOutcome() {
  FitFrame9();
  LabelHint->setText(lastOutcome_.problem);
  LabelHint->setVisible(!lastOutcome_.problem.isEmpty());
  LabelHint->raise();
}


double Form1::BarHeightValue() const {
  return std::clamp(platform::ParseNumber(Text8->text()).value_or(1.4), 0.1, 25.0);
}

void Form1::ApplyBarSize() {
  Picture1->SetScaleMode(platform::ScaleMode::Pixels);
  // Anything that is not a number falls back to the initial values, and
  // numbers are kept to sizes a picture can have: no typed value reaches
  // the error path of reSizeimage.
  const double height = BarHeightValue();
  const double fontSize = std::clamp(platform::ParseNumber(Text3->text()).value_or(8.0), 1.0, 144.0);
  // 40 pixels of inner height per unit of the height value (no border, so
  // inner and outer height are the same).
  picture1Height_ = height * 40 * platform::kTwipsPerPixel;
  Picture1->SetHeight(picture1Height_);
  Picture1->SetFontSize(fontSize);
}

void Form1::reSizeimage() {
  try {
    ApplyBarSize();
    // Only a text that was typed or given is drawn: the start-up and option
    // changes before it never draw (nor judge) the prompt of the text box.
    if (textGiven_) {
      lastOutcome_ = Generate();
      ShowOutcome();
    }
  } catch (const std::exception& e) {
    SettingsErrorPath(QString::fromLocal8Bit(e.what()));
  }
}

// --- Handlers that save one option -------------------------------------------

void Form1::Text8_Change() {
  services_.settings.SaveSetting(kApp, kSection, QStringLiteral("text8"), Text8->text());
  reSizeimage();
}

QImage Form1::FinishedPicture() const {
  if (!Picture2->HasPicture()) return {};
  return Option9->isChecked() ? Picture10->Image() : Picture2->Picture();
}

}  // namespace main_window
