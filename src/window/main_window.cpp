#include "window/main_window.h"

#include "jobs/options.h"

#include <QPixmap>
#include <QScrollArea>

#include <exception>
#include <limits>

namespace window {

MainWindow::MainWindow(platform::Services& services, QWidget* parent)
    : QMainWindow(parent), services_(services) {
  setWindowTitle(kWindowTitle);
  BuildLayout();
  ConnectHandlers();
  BuildMenus();
  BuildOptions();
}

void MainWindow::BuildLayout() {
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
  BuildPreview();

  buttonRow = MakeFrame(Client, {}, 120, 2040, 7095, 495);
  generateButton = MakeButton(buttonRow, QStringLiteral("Bar Code"), 0, 120, 1095, 255);
  printButton = MakeButton(buttonRow, QStringLiteral("Print"), 1200, 120, 1095, 255);
  openFileButton = MakeButton(buttonRow, QStringLiteral("Open File"), 2400, 120, 1095, 255);
  printFileButton = MakeButton(buttonRow, QStringLiteral("Print File"), 3600, 120, 1095, 255);
  copyButton = MakeButton(buttonRow, QStringLiteral("Copy Bar Code to Clipboard"), 4800, 120, 2295, 255);

  settingsPanel = new QGroupBox(QStringLiteral("Options"), Client);
  PlaceTwips(settingsPanel, 120, 2640, 7215, 3615);
  BuildChoiceGroups();
  BuildFileGroups();
  BuildSizeAndRunGroups();

  offsetGroup = MakeFrame(Client, QStringLiteral("Barcode Off Set"), 3840, 5520, 1935, 615);
  offsetLabel = MakeLabel(offsetGroup, QStringLiteral("Left:            Top:"), 120, 240);
  leftOffsetBox = MakeTextBox(offsetGroup, QStringLiteral("1"), 480, 240, 495, 285);
  topOffsetBox = MakeTextBox(offsetGroup, QStringLiteral("1"), 1320, 240, 495, 285);

  // One label holds the captions of two boxes, apart by blanks: its second
  // caption goes in the gap after the first box, whatever the font's blank.
  SpreadCaption(rangeLabel, rangeFromBox);
  SpreadCaption(offsetLabel, leftOffsetBox);
}

void MainWindow::BuildPreview() {
  // The preview shows the finished picture pixel for pixel on a white
  // surface; a picture wider or taller than the frame scrolls.
  previewView = new QScrollArea(Client);
  previewView->setFrameShape(QFrame::NoFrame);
  previewView->setFocusPolicy(Qt::NoFocus);
  PlaceTwips(previewView, 120, 840, 7095, 1095);
  previewFrame = new QWidget;
  previewFrame->resize(previewView->size());
  QPalette white = previewFrame->palette();
  white.setColor(QPalette::Window, Qt::white);
  previewFrame->setPalette(white);
  previewFrame->setAutoFillBackground(true);
  previewView->setPalette(white);
  previewView->setWidget(previewFrame);
  preview = MakeLabel(previewFrame, {}, 240, 120, 6615, 855);
  preview->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  hintLabel = MakeLabel(previewFrame, {}, 240, 120, 6615, 855);
  hintLabel->setWordWrap(true);
  hintLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  hintLabel->setStyleSheet(QStringLiteral("color: #b00000;"));
  hintLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
  hintLabel->setVisible(false);
}

// The settings panel's first row: the symbology, the text line, the printer.
void MainWindow::BuildChoiceGroups() {
  symbologyGroup = MakeFrame(settingsPanel, QStringLiteral("Bar Code Type"), 120, 240, 2535, 975);
  code39Choice = MakeOption(symbologyGroup, QStringLiteral("Code 39"), 120, 240);
  code128BChoice = MakeOption(symbologyGroup, QStringLiteral("Code 128 B"), 1200, 240);
  upcAChoice = MakeOption(symbologyGroup, QStringLiteral("UPC"), 120, 480);
  eanChoice = MakeOption(symbologyGroup, QStringLiteral("EAN"), 1200, 480);
  interleaved25Choice = MakeOption(symbologyGroup, QStringLiteral("Code 2/5"), 480, 720);
  code128PatternChoice = MakeOption(symbologyGroup, QStringLiteral("Code 128-1"), 2280, 960);
  code128PatternChoice->setVisible(false);  // reachable only through the saved options
  code128BChoice->setChecked(true);
  using barcode::Symbology;
  choices_ = {{Symbology::Code39, code39Choice},         {Symbology::Code128B, code128BChoice},
              {Symbology::Code128Pattern, code128PatternChoice}, {Symbology::Interleaved2of5, interleaved25Choice},
              {Symbology::UpcA, upcAChoice},             {Symbology::Ean, eanChoice}};

  textOptionsGroup = MakeFrame(settingsPanel, QStringLiteral("Bar Code Text Options"), 2760, 240, 2295, 975);
  textLineCheck = new CheckBox(textOptionsGroup, QStringLiteral("Include Text in Bar Code"), 120, 360);

  printerGroup = MakeFrame(settingsPanel, QStringLiteral("Printer Selection"), 5160, 240, 1935, 975);
  printerBox = new QComboBox(printerGroup);
  printerBox->setEditable(true);
  printerBox->setInsertPolicy(QComboBox::NoInsert);
  PlaceTwips(printerBox, 120, 360, 1695, 315);
}

// The file run's pattern and check boxes, and the file to print.
void MainWindow::BuildFileGroups() {
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
}

// The bar size and font size (the width hidden), and the incrementing run.
void MainWindow::BuildSizeAndRunGroups() {
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
  drawText();
  // An explicit command also says so in a message box where the symbology
  // has one; typing only updates the hint.
  if (!finished_.refusal.boxText.isEmpty()) services_.dialogs.Ok(finished_.refusal.boxText, {});
}

void MainWindow::onTextChanged() {
  textGiven_ = true;
  drawText();
}

barcode::Symbology MainWindow::chosenSymbology() const {
  using barcode::Symbology;
  for (const Symbology s : {Symbology::Code128B, Symbology::Code128Pattern, Symbology::Interleaved2of5,
                            Symbology::UpcA, Symbology::Ean})
    if (choices_.at(s)->isChecked()) return s;
  return Symbology::Code39;
}

layout::Options MainWindow::pictureOptions() const {
  layout::Options options;
  options.barHeight = jobs::BarHeightOf(barHeightBox->text());
  options.fontSize = appliedFontSize_;
  options.captionFontSize = jobs::CaptionFontSizeOf(fontSizeBox->text());
  options.textLine = textLineCheck->Value() == 1;
  options.stretchWidth = jobs::StretchWidthOf(stretchWidthBox->text());
  return options;
}

void MainWindow::drawText() {
  finished_ = jobs::Generate(chosenSymbology(), barcodeText->text(), pictureOptions());
  preview->setPixmap(QPixmap::fromImage(finished_.picture));
  preview->resize(finished_.picture.size());
  // The frame grows with the picture, so that the view scrolls to all of it.
  const QRect shown = preview->geometry();
  previewFrame->resize(previewView->viewport()->size().expandedTo(QSize(shown.right() + 1, shown.bottom() + 1)));
  hintLabel->setText(finished_.refusal.message);
  hintLabel->setVisible(!finished_.refusal.message.isEmpty());
  hintLabel->raise();
}

void MainWindow::applyFontSize() { appliedFontSize_ = jobs::FontSizeOf(fontSizeBox->text()); }

void MainWindow::applyBarSize() {
  try {
    applyFontSize();
    // Only a text that was typed or given is drawn: the start-up and option
    // changes before it never draw (nor judge) the prompt of the text box.
    if (textGiven_) drawText();
  } catch (const std::exception& e) {
    SettingsErrorPath(QString::fromLocal8Bit(e.what()));
  }
}

// --- Handlers that save one option -------------------------------------------

void MainWindow::onBarHeightChanged() {
  services_.settings.SaveSetting(kApp, kSection, QStringLiteral("text8"), barHeightBox->text());
  applyBarSize();
}


}  // namespace window
