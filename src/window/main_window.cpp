#include "window/main_window.h"

#include "window/pattern_area.h"
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

namespace window {

using platform::PictureBox;
using symbologies::Outcome;

MainWindow::MainWindow(platform::Services& services, QWidget* parent)
    : QMainWindow(parent), services_(services) {
  setWindowTitle(kWindowTitle);
  BuildLayout();
  ConnectHandlers();
  BuildMenus();
  BuildOptions();
}

void MainWindow::BuildLayout() {
  using namespace platform;
  Client = new QWidget(this);
  Client->setFixedSize(TwipsToPixels(7440), TwipsToPixels(6330));
  // An 8-point sans serif (11 pixels at 96 dpi), the same on every machine:
  // Liberation Sans has Arial's widths, which the enlarged grid leaves room for.
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(11);
  Client->setFont(font);
  setCentralWidget(Client);

  barcodeTextLabel = MakeLabel(Client, QStringLiteral("Enter Bar Code Text here:"), 120, 120, 6975, 255);
  barcodeText = MakeTextBox(Client, QStringLiteral("Enter Bar Code Text here"), 120, 360, 7095, 285);
  // The box holds any text, so that a longer one is refused with its length
  // instead of being cut short without a word.
  barcodeText->setMaxLength(std::numeric_limits<int>::max());

  // The drawing areas. Stacking, bottom to top: UPC-A's area, Code 39's,
  // the pattern area; EAN's result area under EAN's drawing area.
  // The frame shows the whole barcode: a wider or taller one than the frame
  // scrolls (the drawing itself is never scaled).
  previewView = new QScrollArea(Client);
  previewView->setFrameShape(QFrame::NoFrame);
  previewView->setFocusPolicy(Qt::NoFocus);
  PlaceTwips(previewView, 120, 840, 7095, 1095);
  previewFrame = new QWidget;
  previewFrame->resize(previewView->size());
  // White like the drawing areas on it, so that they read as one surface.
  QPalette white = previewFrame->palette();
  white.setColor(QPalette::Window, Qt::white);
  previewFrame->setPalette(white);
  previewFrame->setAutoFillBackground(true);
  previewView->setPalette(white);
  previewView->setWidget(previewFrame);
  Picture9 = new PictureBox(previewFrame, 240, 0, 5055, 1095);
  Picture9->SetVisible(false);  // shows for UPC only: one empty area at start
  Picture1 = new PictureBox(previewFrame, 240, 120, 6615, 855);
  Picture5 = new PictureBox(previewFrame, 240, 120, 6615, 1095);
  Picture5->SetScaleMode(ScaleMode::Pixels);
  Picture5->SetVisible(false);
  LabelHint = MakeLabel(previewFrame, {}, 240, 120, 6615, 855);
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
  finishedPictureBox = new PictureBox(Client, 8640, 3360, 6930, 900);

  buttonRow = MakeFrame(Client, {}, 120, 2040, 7095, 495);
  generateButton = MakeButton(buttonRow, QStringLiteral("Bar Code"), 0, 120, 1095, 255);
  printButton = MakeButton(buttonRow, QStringLiteral("Print"), 1200, 120, 1095, 255);
  openFileButton = MakeButton(buttonRow, QStringLiteral("Open File"), 2400, 120, 1095, 255);
  printFileButton = MakeButton(buttonRow, QStringLiteral("Print File"), 3600, 120, 1095, 255);
  copyButton = MakeButton(buttonRow, QStringLiteral("Copy Bar Code to Clipboard"), 4800, 120, 2295, 255);

  settingsPanel = new QGroupBox(QStringLiteral("Options"), Client);
  PlaceTwips(settingsPanel, 120, 2640, 7215, 3615);

  symbologyGroup = MakeFrame(settingsPanel, QStringLiteral("Bar Code Type"), 120, 240, 2535, 975);
  code39Choice = MakeOption(symbologyGroup, QStringLiteral("Code 39"), 120, 240);
  code128BChoice = MakeOption(symbologyGroup, QStringLiteral("Code 128 B"), 1200, 240);
  upcAChoice = MakeOption(symbologyGroup, QStringLiteral("UPC"), 120, 480);
  eanChoice = MakeOption(symbologyGroup, QStringLiteral("EAN"), 1200, 480);
  interleaved25Choice = MakeOption(symbologyGroup, QStringLiteral("Code 2/5"), 480, 720);
  code128PatternChoice = MakeOption(symbologyGroup, QStringLiteral("Code 128-1"), 2280, 960);
  code128PatternChoice->setVisible(false);  // reachable only through the saved options
  code128BChoice->setChecked(true);

  textOptionsGroup = MakeFrame(settingsPanel, QStringLiteral("Bar Code Text Options"), 2760, 240, 2295, 975);
  textLineCheck = new CheckBox(textOptionsGroup, QStringLiteral("Include Text in Bar Code"), 120, 360);

  printerGroup = MakeFrame(settingsPanel, QStringLiteral("Printer Selection"), 5160, 240, 1935, 975);
  printerBox = new QComboBox(printerGroup);
  printerBox->setEditable(true);
  printerBox->setInsertPolicy(QComboBox::NoInsert);
  PlaceTwips(printerBox, 120, 360, 1695, 315);

  linePatternGroup = MakeFrame(
      settingsPanel,
      QStringLiteral("Line Pattern of File (Leave Blank to Make is Line in the File into a Barcode)"),
      120, 1320, 6975, 735);
  linePatternBox = MakeTextBox(linePatternGroup, {}, 120, 240, 2895, 285);
  // Three captions share one row, each wrapping in the room up to the next.
  includePatternCheck = new CheckBox(linePatternGroup, QStringLiteral("Include Text in Barcode"), 3120, 180, 1140, 450);
  printLineCheck = new CheckBox(linePatternGroup, QStringLiteral("Print Line Above Barcode"), 4320, 180, 1500, 450);
  columnsCheck = new CheckBox(linePatternGroup, QStringLiteral("Print Columns"), 5880, 180, 975, 450);

  filePathGroup = MakeFrame(settingsPanel, QStringLiteral("File Path"), 120, 2160, 4335, 615);
  filePathBox = MakeTextBox(filePathGroup, {}, 120, 240, 3015, 285);
  browseButton = MakeButton(filePathGroup, QStringLiteral("Browse"), 3240, 240, 975, 255);

  sizeGroup = MakeFrame(settingsPanel, QStringLiteral("BarCode Size"), 4560, 2160, 2535, 615);
  MakeLabel(sizeGroup, QStringLiteral("Height:"), 120, 240);
  barHeightBox = MakeTextBox(sizeGroup, QStringLiteral("1.4"), 960, 240, 375, 285);
  MakeLabel(sizeGroup, QStringLiteral("Font Size:"), 1440, 240);
  fontSizeBox = MakeTextBox(sizeGroup, QStringLiteral("8"), 2040, 240, 375, 285);
  stretchWidthLabel = MakeLabel(sizeGroup, QStringLiteral("Width:"), 2640, 240);
  stretchWidthBox = MakeTextBox(sizeGroup, QStringLiteral("800"), 3120, 240, 375, 285);
  stretchWidthLabel->setVisible(false);  // the width is reachable only through the saved options
  stretchWidthBox->setVisible(false);

  incrementGroup = MakeFrame(settingsPanel, QStringLiteral("Increament Barcode"), 120, 2880, 3495, 615);
  rangeLabel = MakeLabel(incrementGroup, QStringLiteral("From:                 To:"), 120, 240);
  rangeFromBox = MakeTextBox(incrementGroup, QStringLiteral("100"), 600, 240, 735, 285);
  rangeToBox = MakeTextBox(incrementGroup, QStringLiteral("500"), 1560, 240, 615, 285);
  runButton = MakeButton(incrementGroup, QStringLiteral("Run It"), 2280, 240, 1095, 255);

  offsetGroup = MakeFrame(Client, QStringLiteral("Barcode Off Set"), 3840, 5520, 1935, 615);
  offsetLabel = MakeLabel(offsetGroup, QStringLiteral("Left:            Top:"), 120, 240);
  leftOffsetBox = MakeTextBox(offsetGroup, QStringLiteral("1"), 480, 240, 495, 285);
  topOffsetBox = MakeTextBox(offsetGroup, QStringLiteral("1"), 1320, 240, 495, 285);

  // One label holds the captions of two boxes, apart by blanks: its second
  // caption goes in the gap after the first box, whatever the font's blank.
  SpreadCaption(rangeLabel, rangeFromBox);
  SpreadCaption(offsetLabel, leftOffsetBox);
}

void MainWindow::ConnectHandlers() {
  connect(barcodeText, &QLineEdit::textChanged, this, &MainWindow::onTextChanged);
  connect(generateButton, &QPushButton::clicked, this, &MainWindow::generate);
  connect(barHeightBox, &QLineEdit::textChanged, this, &MainWindow::onBarHeightChanged);
  ConnectPrintHandlers();
  ConnectRunHandlers();
}

// --- Generate command ------------------------------------------------------

void MainWindow::generate() {
  textGiven_ = true;
  lastOutcome_ = Generate();
  ShowOutcome();
  // An explicit command also says so in a message box where the encoder has
  // one; typing only updates the hint.
  if (!lastOutcome_.boxText.isEmpty()) services_.dialogs.Ok(lastOutcome_.boxText, {});
}

void MainWindow::onTextChanged() {
  textGiven_ = true;
  lastOutcome_ = Generate();
  ShowOutcome();
}

Outcome MainWindow::Generate() {
  // The drawing areas never take the focus, so drawing runs no validation of
  // other controls.
  Picture10->SetVisible(eanChoice->isChecked());
  const std::initializer_list<PictureBox*> areas = {Picture1, finishedPictureBox,  Picture4, Picture5,
                                                    Picture9, Picture10, Picture22};
  // Narrowed first, so that clearing fills only what is left of them.
  Picture1->SetWidth(100);
  finishedPictureBox->SetWidth(100);
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
  Picture9->SetVisible(upcAChoice->isChecked());
  Picture1->SetVisible(!upcAChoice->isChecked());

  const QString text = barcodeText->text();
  if (text.isEmpty()) return Outcome::Refused({});
  if (text.size() > kLongestText)
    return Outcome::Refused(QStringLiteral("The text has %1 characters; a barcode text takes at most %2.")
                                .arg(text.size())
                                .arg(kLongestText));

  Outcome outcome;
  PictureBox* drawnArea = Picture1;
  if (code128BChoice->isChecked()) {
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
      retail::DrawCode39(copy, *Picture1, textLineCheck->Value());
      Picture1->Cls();
    }
  } else if (code128PatternChoice->isChecked()) {
    drawnArea = Picture5;
    outcome = DrawPatternArea(*this, QStringLiteral("128"));
  } else if (interleaved25Choice->isChecked()) {
    if (text.size() < 2) return Outcome::Refused(code128::Interleaved2of5Problem(text));
    drawnArea = Picture5;
    outcome = DrawPatternArea(*this, QStringLiteral("25"));
  } else if (upcAChoice->isChecked()) {
    drawnArea = Picture9;
    outcome = retail::DrawUpcA(text, *Picture9, textLineCheck->Value());
  } else if (eanChoice->isChecked()) {
    Picture22->SetVisible(true);
    outcome = retail::DrawEan(text, *Picture22);
    if (outcome.drawn) {
      finishedPictureBox->SetPicture(Picture22->Image());
      Picture10->SetPicture(Picture22->Image());
    } else {
      // Nothing to show: uncover the hint that says why.
      Picture22->SetVisible(false);
      Picture10->SetVisible(false);
    }
  } else {
    QString copy = text;
    outcome = retail::DrawCode39(copy, *Picture1, textLineCheck->Value());
  }

  finishedPictureBox->Cls();
  // Only a complete barcode becomes the finished picture: printing and the
  // clipboard refuse an empty Picture2.
  if (!eanChoice->isChecked() && outcome.drawn) finishedPictureBox->SetPicture(drawnArea->Image());
  return outcome;
}

void MainWindow::FitFrame9() {
  QRect used(QPoint(0, 0), previewView->viewport()->size());
  for (QWidget* area : previewFrame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (!area->isHidden() && area != LabelHint) used |= area->geometry();
  previewFrame->resize(used.size());
}

void MainWindow::ShowOutcome() {
  FitFrame9();
  LabelHint->setText(lastOutcome_.problem);
  LabelHint->setVisible(!lastOutcome_.problem.isEmpty());
  LabelHint->raise();
}


double MainWindow::BarHeightValue() const {
  return std::clamp(platform::ParseNumber(barHeightBox->text()).value_or(1.4), 0.1, 25.0);
}

void MainWindow::applyBarSizeBoxes() {
  Picture1->SetScaleMode(platform::ScaleMode::Pixels);
  // Anything that is not a number falls back to the initial values, and
  // numbers are kept to sizes a picture can have: no typed value reaches
  // the error path of reSizeimage.
  const double height = BarHeightValue();
  const double fontSize = std::clamp(platform::ParseNumber(fontSizeBox->text()).value_or(8.0), 1.0, 144.0);
  // 40 pixels of inner height per unit of the height value (no border, so
  // inner and outer height are the same).
  picture1Height_ = height * 40 * platform::kTwipsPerPixel;
  Picture1->SetHeight(picture1Height_);
  Picture1->SetFontSize(fontSize);
}

void MainWindow::applyBarSize() {
  try {
    applyBarSizeBoxes();
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

void MainWindow::onBarHeightChanged() {
  services_.settings.SaveSetting(kApp, kSection, QStringLiteral("text8"), barHeightBox->text());
  applyBarSize();
}

QImage MainWindow::FinishedPicture() const {
  if (!finishedPictureBox->HasPicture()) return {};
  return eanChoice->isChecked() ? Picture10->Image() : finishedPictureBox->Picture();
}

}  // namespace window
