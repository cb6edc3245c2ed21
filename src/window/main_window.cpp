#include "window/main_window.h"

#include "jobs/options.h"
#include "platform/numbers.h"

#include <QPixmap>
#include <QScrollArea>

#include <algorithm>
#include <exception>
#include <limits>
#include <optional>

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
  // The controls keep their places; a window smaller than they need (a small
  // screen, a large scale) scrolls them instead of cutting them off.
  clientView = new QScrollArea(this);
  clientView->setFrameShape(QFrame::NoFrame);
  clientView->setFocusPolicy(Qt::NoFocus);  // Tab goes from control to control, scrolling to each
  Client = new QWidget;
  Client->setFixedSize(TwipsToPixels(7440), TwipsToPixels(6330));
  // An 8-point sans serif (11 pixels at 96 dpi), the same on every machine:
  // Liberation Sans has Arial's widths, which the enlarged grid leaves room for.
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(11);
  Client->setFont(font);
  clientView->setWidget(Client);
  setCentralWidget(clientView);

  barcodeTextLabel = MakeLabel(Client, QStringLiteral("Enter Bar Code Text here:"), 120, 120, 6975, 255);
  barcodeText = MakeTextBox(Client, QStringLiteral("Enter Bar Code Text here"), 120, 360, 7095, 285);
  // The box holds any text, so that a longer one is refused with its length
  // instead of being cut short without a word. The prompt starts selected and
  // focused: the first key typed replaces it.
  barcodeText->setMaxLength(std::numeric_limits<int>::max());
  barcodeText->selectAll();
  barcodeText->setFocus(Qt::OtherFocusReason);
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
  // The preview shows the finished picture enlarged by whole pixels on a
  // white surface; a picture wider or taller than the frame scrolls.
  previewView = new QScrollArea(Client);
  previewView->setFrameShape(QFrame::NoFrame);
  previewView->setFocusPolicy(Qt::NoFocus);
  // All the room between the text box and the button row, for the zoom.
  PlaceTwips(previewView, 120, 720, 7095, 1320);
  previewFrame = new QWidget;
  previewView->setWidgetResizable(true);
  QPalette white = previewFrame->palette();
  white.setColor(QPalette::Window, Qt::white);
  previewFrame->setPalette(white);
  previewFrame->setAutoFillBackground(true);
  previewView->setPalette(white);
  previewView->setWidget(previewFrame);
  preview = new ZoomedPicture(previewFrame);
  hintLabel = MakeLabel(previewFrame, {}, 240, 120, 6615, 855);
  hintLabel->setWordWrap(true);
  hintLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
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

namespace {

// Why a size box's text is not used as it stands ("" when it is): not a
// number, or out of the range the generator keeps it in.
QString SizeBoxProblem(const QString& caption, const QString& text, jobs::SizeRange range) {
  const std::optional<double> value = platform::ParseNumber(text);
  if (value && *value >= range.lowest && *value <= range.highest) return {};
  return QStringLiteral("%1 \"%2\" is not used: it takes a number from %3 to %4")
      .arg(caption, text, QString::number(range.lowest), QString::number(range.highest));
}

}  // namespace

void MainWindow::drawText() {
  finished_ = jobs::Generate(chosenSymbology(), barcodeText->text(), pictureOptions());
  // Red for what went wrong (a refusal, a size box not used); what was
  // encoded, where it differs from the text, after it, in the window's own
  // colour when nothing went wrong.
  QStringList problems{finished_.refusal.message,
                       SizeBoxProblem(QStringLiteral("Height"), barHeightBox->text(), jobs::kBarHeightRange),
                       SizeBoxProblem(QStringLiteral("Font Size"), fontSizeBox->text(), jobs::kFontSizeRange)};
  problems.removeAll(QString());
  const bool wrong = !problems.isEmpty();
  if (!finished_.note.isEmpty()) problems << finished_.note;
  ShowPicture(problems.join(QLatin1Char('\n')), wrong);
  ShowStatus({});  // the message of an earlier command is not about this barcode
}

void MainWindow::ShowPicture(const QString& hint, bool problem) {
  const QImage& picture = finished_.picture;
  hintLabel->setText(hint);
  hintLabel->setStyleSheet(problem ? QStringLiteral("color: #b00000;") : QString());
  hintLabel->setVisible(!hint.isEmpty());
  const int margin = TwipsToPixels(240), top = TwipsToPixels(120);
  const QSize room = previewView->size();
  // A hint keeps room beside the picture, at most half the frame.
  int hintWidth = 0;
  for (const QString& line : hint.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
    hintWidth = std::max(hintWidth, std::min(hintLabel->fontMetrics().horizontalAdvance(line) + 1, room.width() / 2));
  const int beside = hintWidth > 0 ? hintWidth + margin : 0;
  zoom_ = 1;
  if (!picture.isNull())
    zoom_ = std::max(1, std::min((room.width() - 2 * margin - beside) / picture.width(),
                                 room.height() / picture.height()));
  const QSize shown = picture.size() * zoom_;
  preview->SetPicture(picture, zoom_);
  // Centred from top to bottom, within the design's margin; a picture taller
  // than the frame starts at its top.
  preview->setGeometry(QRect(QPoint(margin, std::clamp((room.height() - shown.height()) / 2, 0, top)), shown));
  // The hint beside the picture where there is room, else under it.
  QRect hintPlace(margin, top, room.width() - 2 * margin, 0);
  if (!picture.isNull() && preview->geometry().right() + margin + hintWidth < room.width() - margin)
    hintPlace.setLeft(preview->geometry().right() + 1 + margin);
  else if (!picture.isNull())
    hintPlace.moveTop(preview->geometry().bottom() + 1 + top);
  hintPlace.setHeight(hint.isEmpty() ? 0 : hintLabel->heightForWidth(hintPlace.width()));
  hintLabel->setGeometry(hintPlace);
  // The frame fills the view and grows with the picture, so that the view
  // scrolls to all of it, and no further: a picture that fits shows no scroll bar.
  const QRect used = preview->geometry().united(hint.isEmpty() ? QRect() : hintPlace);
  previewFrame->setMinimumSize(used.right() + 1, used.bottom() + 1);
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
