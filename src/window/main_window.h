#pragma once
// The main window: the text box, the preview of the barcode, the command
// buttons and the settings panel. Each control saves its option the moment
// it changes; the commands (generate, print, print file, run, copy, save as)
// run the jobs with what the controls hold.
#include "barcode/symbology.h"
#include "jobs/generator.h"
#include "jobs/options.h"
#include "window/controls.h"
#include "platform/services.h"
#include "jobs/file_run.h"
#include "jobs/range_run.h"
#include "jobs/label_run.h"

#include <QMainWindow>
#include <QMenu>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class QProgressDialog;
class QScrollArea;

namespace window {
class FileChooser;
class LabelDialog;
class PrintPreview;
}

namespace window {

// The application name of the saved options, and its one section.
using jobs::kApp;
using jobs::kSection;
inline const QString kWindowTitle = QStringLiteral("Quillon - www.quillon.example");
// The white left and right of a picture copied or saved, in modules (two above and below).
inline constexpr int kQuietZoneModules = 10;

class MainWindow : public QMainWindow {
 public:
  explicit MainWindow(platform::Services& services, QWidget* parent = nullptr);

  // --- Generate command -------------------------------------------------
  // "Bar Code": draws the text; a refusal that has a message box shows it.
  void generate();
  // Every change of the text draws it again (a refusal shows as a hint only).
  void onTextChanged();
  // The bar height box changed: the sizes apply, and the text is drawn again.
  void applyBarSize();
  // The symbology the choices select: the first chosen of Code 128 B, Code
  // 128-1, Code 2/5, UPC and EAN; Code 39 when none of them is.
  barcode::Symbology chosenSymbology() const;
  // What the picture is drawn with, as the boxes hold it now. The Code 39 text
  // line keeps the font size that the last change of the bar height applied.
  layout::Options pictureOptions() const;

  // --- Handlers that save one option --------------------------------------
  void onBarHeightChanged();

  // --- Options store and start-up -----------------------------------------
  ~MainWindow() override;
  // The start-up: restores every saved option, fills the printer list and
  // restores the width. False when a saved option could not be used: the
  // settings error path then ended the program.
  bool start();
  // The start-up without the error path: restores the options, fills the
  // printer list, restores the width; the description of the first value
  // that could not be converted, or "" when all were fine.
  QString restoreSavedOptions();
  void restoreOptions();
  void onSymbologyChosen();
  void toggleSettingsPanel();
  void restoreDefaults();
  void onIncludePatternClicked();
  void onTextLineClicked();
  void onPrintLineClicked();
  void onColumnsClicked();
  void onFontSizeChanged();
  void onLinePatternChanged();
  void onFilePathChanged();
  void onStretchWidthChanged();
  void onLeftOffsetChanged();
  void onTopOffsetChanged();
  void onPrinterChosen();

  // --- Menus (menus.cpp) ---------------------------------------------------
  // The Edit entries run the buttons' handlers; "&Help" in the File menu runs
  // the Help menu's.
  void help();
  void about();
  void exit();
  // "Save Bar Code As...": asks for a file (ChooseSavePath), then SaveBarCodeTo.
  void saveBarCodeAs();
  // Writes the finished picture with its quiet zone to path as PNG, SVG or
  // PDF by its ending, at its natural size; "" when written, else the reason
  // (also shown).
  QString saveBarCodeTo(const QString& path);
  // The file chooser of Save As, opening in folder ("" when cancelled); tests
  // put their own.
  std::function<QString(const QString& folder)> ChooseSavePath;
  static QString AskSavePath(QWidget* parent, const QString& folder);
  // Shows a folder in the file manager; false when none answered. Tests put their own.
  std::function<bool(const QString& folder)> OpenFolder;

  QMenu* fileMenu;
  QMenu* editMenu;
  QMenu* optionsMenu;
  QMenu* helpMenu;
  QAction* fileOpenAction;            // "File Open": the file chooser
  QAction* saveAsAction;       // "Save Bar Code As..."
  QAction* fileHelpAction;            // "&Help"
  QAction* exitAction;                // "E&xit"
  QAction* generateAction;         // "&Bar Code"
  QAction* printAction;           // "&Print"
  QAction* openFileAction;        // "&Open File"
  QAction* printFileAction;       // "Print File"
  QAction* copyAction;  // "Copy Bar Code to Clipboard"
  QAction* settingsAction;            // "&Hide Settings" / "&Show Settings"
  QAction* restoreDefaultsAction;     // "Restore Default Settings"
  QAction* helpAction;            // "&Help"
  QAction* aboutAction;               // "&About"

  // The barcode that printing, the clipboard and Save As take: the last
  // one drawn (none when the last text gave none).
  const jobs::Generated& finishedPicture() const { return finished_; }
  // Why the last generate command drew no barcode ("" when it drew one, or
  // when there was nothing to draw).
  QString LastProblem() const { return finished_.refusal.message; }

  // The path of the file that "Print File" prints, shared by the path box
  // filePathBox, the file chooser and the command line.
  QString FilePath;

  // --- Controls -----------------------------------------------------------
  QScrollArea* clientView;  // the window's inner area: scrolls Client when the window is smaller
  QWidget* Client;          // the controls, 7440 x 6330 twips (the upper part only while the panel is hidden)
  QLabel* barcodeTextLabel;
  QLineEdit* barcodeText;
  QWidget* previewFrame;     // the white surface the preview lies on, inside previewView
  QScrollArea* previewView;  // scrolls when a barcode outgrows the frame
  ZoomedPicture* preview;    // the finished picture, each pixel a square of PreviewZoom() pixels
  QLabel* hintLabel;         // why the text gave no barcode, or what was encoded, beside the preview
  // The whole-number zoom of the preview: the largest at which the picture fits the frame, at least 1.
  int PreviewZoom() const { return zoom_; }
  QWidget* buttonRow;
  QPushButton* generateButton;
  QPushButton* printButton;
  QPushButton* openFileButton;
  QPushButton* printFileButton;
  QPushButton* copyButton;
  QGroupBox* settingsPanel;
  QWidget* symbologyGroup;
  QRadioButton* code39Choice;
  QRadioButton* code128BChoice;
  QRadioButton* upcAChoice;
  QRadioButton* eanChoice;
  QRadioButton* interleaved25Choice;
  QRadioButton* code128PatternChoice;
  QWidget* textOptionsGroup;
  window::CheckBox* textLineCheck;
  QWidget* printerGroup;
  QComboBox* printerBox;
  QWidget* linePatternGroup;
  QLineEdit* linePatternBox;
  window::CheckBox* includePatternCheck;
  window::CheckBox* printLineCheck;
  window::CheckBox* columnsCheck;
  QWidget* filePathGroup;
  QLineEdit* filePathBox;
  QPushButton* browseButton;
  QWidget* sizeGroup;
  QLineEdit* barHeightBox;
  QLineEdit* fontSizeBox;
  QLabel* stretchWidthLabel;
  QLineEdit* stretchWidthBox;
  QWidget* incrementGroup;
  QLabel* rangeLabel;
  QLineEdit* rangeFromBox;
  QLineEdit* rangeToBox;
  QPushButton* runButton;
  QWidget* offsetGroup;
  QLabel* offsetLabel;
  QLineEdit* leftOffsetBox;
  QLineEdit* topOffsetBox;

 protected:
  platform::Services& services_;

 private:
  void BuildLayout();
  void BuildPreview();
  void BuildChoiceGroups();
  void BuildFileGroups();
  void BuildSizeAndRunGroups();
  void ConnectHandlers();
  // Draws the text with the chosen symbology and options, shows the result.
  void drawText();
  // Shows the finished picture at its zoom, and the hint beside or under it.
  void ShowPicture(const QString& hint, bool problem);
  // The window as large as its content, no larger than the screen.
  void FitToContent();
  // The font size the Code 39 text line takes from now on.
  void applyFontSize();

  jobs::Generated finished_;
  std::map<barcode::Symbology, QRadioButton*> choices_;  // the symbology choices
  bool textGiven_ = false;       // the text was changed or "Bar Code" pressed since the start
  int zoom_ = 1;
  QString saveFolder_;           // where Save As saved last
  double appliedFontSize_ = 8;   // points, set by the last change of the bar height

  // --- Options store and start-up (private) --------------------------------
  void BuildOptions();
  void BuildMenus();
  void closeEvent(QCloseEvent* event) override;
  void SaveOption(const QString& key, const QString& value);
  void SetOptionValue(QRadioButton* option, bool value);
  void SetContentHeightTwips(double twips);
  bool eventFilter(QObject* watched, QEvent* event) override;
  QString startupError_;  // the first conversion error of the running start-up
  // Shows the settings error (description, then what became of the store),
  // deletes the saved options and ends the program.
  void SettingsErrorPath(const QString& description);

  // --- Printing: Print, Print File, the printer list (print_commands.cpp) ---
 public:
  void print();
  // "Print File": the file of the path box, after a check that there is one.
  void printFile();
  void PrintFile();
  // Fills the printer box with the installed printers, then sets its text to
  // the saved printer name.
  void FillPrinterList();
  bool FileRunInProgress() const { return fileRunActive_; }
  // Stops the file run in progress after its current line; what was printed
  // so far is still sent as one job.
  void CancelFileRun() { fileRunCancel_ = true; }
  const jobs::FileRunResult& LastFileRun() const { return lastFileRun_; }
  // What the last command said in the status line, and the folder its
  // "Open folder" link opens ("" when none).
  QString StatusText() const;
  QString StatusFolder() const { return statusFolder_; }
  platform::Printers& CurrentPrinter() const { return services_.printers; }
 private:
  friend class FileRunAdapter;
  void ConnectPrintHandlers();
  // The path box's file as a run opens it: "~" is the home folder, and "-"
  // a file named "-" (standard input is the command line's alone).
  QString FileRunPath() const;
  // The file of the path box run onto printers as Print File would run it,
  // drawn as the text box draws, without touching the text box.
  jobs::FileRunResult PreviewFileRun(platform::Printers& printers);
  // Puts a line in the status bar (echoed to stderr, when it changes, while
  // QUILLON_DEBUG is set); with a PDF path, the link to its folder shows too.
  // A text too long for the line is cut in its middle, the whole of it the tool tip.
  void ShowStatus(const QString& text, const QString& pdfPath = {});
  void ElideStatus();
  void ReportFileRun();
  void BuildStatusBar();
  QLabel* statusLine_ = nullptr;
  QString statusText_;
  QLabel* statusFolderLink_ = nullptr;
  QString statusFolder_;
  bool RefusedDuringFileRun();
  bool fileRunActive_ = false;
  bool fileRunCancel_ = false;
  jobs::FileRunResult lastFileRun_;
  QProgressDialog* fileRunProgress_ = nullptr;

  // --- File chooser, Run It, clipboard copy (run_commands.cpp) ---------------
 public:
  void openFileChooser();
  // The chooser while it is open, else null.
  window::FileChooser* OpenChooser() const;
  // The chooser's path shown in the path box and used by "Print File", not
  // saved until the chooser's OK.
  void TakeChooserPath(const QString& path);
  // OK with a path keeps the chooser's path and saves it; anything else puts
  // back the path the box held before the chooser opened.
  void ChooserClosed(bool accepted);

  void runRange();
  void copyToClipboard();
  // The length of each of the two pauses of a Run It step, in seconds.
  double RunPauseSeconds = 1;
  bool IncrementingRunInProgress() const { return incrementingRun_; }
  // Stops Run It after the number being printed.
  void CancelIncrementingRun() { incrementingCancel_ = true; }
  const jobs::RangeResult& LastIncrementingRun() const { return lastIncrementingRun_; }

 private:
  void ConnectRunHandlers();
  bool RefusedDuringIncrementingRun();
  friend class RangeAdapter;
  // left: To less From, the numbers still to come with this one.
  void ShowIncrementingProgress(const QString& text, int number, double left);
  void ReportIncrementingRun();
  QPointer<window::FileChooser> chooser_;
  QString pathBeforeChooser_;     // the path box's text as the user left it
  bool pathFromChooser_ = false;  // the path box is being set by the chooser
  bool incrementingRun_ = false;
  bool incrementingCancel_ = false;
  jobs::RangeResult lastIncrementingRun_;
  QProgressDialog* incrementingProgress_ = nullptr;

  // --- Label sheets and the print preview (label_commands.cpp) --------------
 public:
  // "Label Sheet...": the dialog; OK keeps its choice for the next start.
  void chooseLabelSheet();
  // "Print Preview...": the pages Print File would send, or Print's without a file.
  void printPreview();
  // The dialogs while they are open, else null.
  LabelDialog* OpenLabelDialog() const;
  PrintPreview* OpenPreview() const;
  const jobs::LabelChoice& CurrentLabelChoice() const { return labelChoice_; }
  void SetLabelChoice(const jobs::LabelChoice& choice);
  // The chosen sheet; null for no labels, or a product the templates no longer have.
  const jobs::LabelSheet* CurrentLabels();
  QAction* printPreviewAction;  // "Print Preview..."
  QAction* labelSheetAction;    // "Label Sheet...": disabled without the templates

 private:
  // The saved choice; the entry disabled, saying why, without the templates.
  void RestoreLabelChoice();
  const labels::Database& LabelDatabase();
  // Sends Run It's one document of labels and says how it went.
  void FinishLabelRange(jobs::LabelRun& labels);
  jobs::LabelChoice labelChoice_;
  std::unique_ptr<labels::Database> labelDatabase_;  // read at the first use
  std::optional<jobs::LabelSheet> labelSheet_;
  QPointer<LabelDialog> labelDialog_;
  QPointer<PrintPreview> preview_;
};

}  // namespace window
