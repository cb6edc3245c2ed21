#pragma once
// The main window: the text box, the drawing areas, the command buttons and
// the settings panel, with one handler per control and event.
#include "platform/controls.h"
#include "platform/picture_box.h"
#include "platform/services.h"
#include "printing/file_run.h"
#include "symbologies/outcome.h"

#include <QMainWindow>
#include <QMenu>
#include <QPointer>

#include <functional>

#include <functional>

class QProgressDialog;
class QScrollArea;

namespace file_chooser {
class Form2;
}

namespace main_window {

// The application name of the saved options, and its one section.
inline const QString kApp = QStringLiteral("Quillon");
inline const QString kSection = QStringLiteral("options");
inline const QString kWindowTitle = QStringLiteral("Quillon - www.quillon.example");
inline const QString kSettingsErrorText =
    QStringLiteral("Error in Settings, Default Settings will be restored and Quillon should be restarted");
// When the saved options cannot be deleted (%1: the settings file).
inline const QString kSettingsNotRestoredText = QStringLiteral(
    "Error in Settings. The Default Settings could not be restored: %1 cannot be changed. "
    "Correct or remove it, then restart Quillon");

class Form1 : public QMainWindow {
 public:
  explicit Form1(platform::Services& services, QWidget* parent = nullptr);

  // --- Generate command -------------------------------------------------
  void Command1_Click();
  void Text1_Change();
  void reSizeimage();
  // The longest text any generate command takes (the historical limit of the
  // text box); longer ones are refused with their length.
  static constexpr qsizetype kLongestText = 32767;
  // The bar height box as a value: 1.4 when it holds no number, and kept to
  // 0.1-25 so that no typed value asks for an impossible picture.
  double BarHeightValue() const;
  // "Code 128 B": the device-context renderer on Picture1 (code128_on_dc.cpp).
  symbologies::Outcome DrawCode128OnDc();

  // --- Handlers that save one option --------------------------------------
  void Text8_Change();

  // --- Options store and start-up -----------------------------------------
  ~Form1() override;
  // What the caller of Form_Load does next.
  enum class LoadResult {
    ShowWindow,            // wait for the user
    PrintCommandLineFile,  // the command line named a file: FilePath and Text5 hold it
    Ended,                 // the settings error path ended the program
  };
  // The start-up: restores every saved option, fills the printer list,
  // restores the width, then takes a file path from the command line
  // (everything after the program name).
  LoadResult Form_Load(const QString& commandLine = {});
  // Steps 1 to 3 of the start-up without the error path: the description of
  // the first value that could not be converted, or "" when all were fine.
  QString RestoreOptions();
  void StartupOptions();
  void OptionClick();
  void Settings_Click();
  void RestoreDefaults_Click();
  void Check1_Click();
  void Check2_Click();
  void CheckPrintLine_Click();
  void Checkqq_Click();
  void Text3_Change();
  void Text4_Change();
  void Text5_Change();
  void Text9_Change();
  void Text14_Change();
  void Text15_Change();
  void Combo1_Validate();

  // --- Menus (menus.cpp) ---------------------------------------------------
  // The Edit entries run the buttons' handlers; "&Help" in the File menu runs
  // the Help menu's.
  void BarCodeTemp_Click();
  void PrintTemp_Click();
  void PrintFileTemp_Click();
  void OpenFileTemp_Click();
  void BarCodetoClipboard_Click();
  void FileHelp_Click();
  void Help_Click();
  void About_Click();
  void Exit_Click();
  // "Save Bar Code As...": asks for a file (ChooseSavePath), then SaveBarCodeTo.
  void SaveBarCodeAs_Click();
  // Writes the finished picture to path as PNG, SVG or PDF by its ending, at
  // its natural size; "" when written, else the reason (also shown).
  QString SaveBarCodeTo(const QString& path);
  // The file chooser of Save As ("" when cancelled); tests put their own.
  std::function<QString()> ChooseSavePath;

  QMenu* FileMenu;
  QMenu* EditMenu;
  QMenu* OptionsMenu;
  QMenu* HelpMenu;
  QAction* FileOpen;            // "File Open": the file chooser
  QAction* SaveBarCodeAs;       // "Save Bar Code As..."
  QAction* FileHelp;            // "&Help"
  QAction* Exit;                // "E&xit"
  QAction* BarCodeTemp;         // "&Bar Code"
  QAction* PrintTemp;           // "&Print"
  QAction* OpenFileTemp;        // "&Open File"
  QAction* PrintFileTemp;       // "Print File"
  QAction* BarCodetoClipboard;  // "Copy Bar Code to Clipboard"
  QAction* Settings;            // "&Hide Settings" / "&Show Settings"
  QAction* RestoreDefaults;     // "Restore Default Settings"
  QAction* HelpItem;            // "&Help"
  QAction* About;               // "&About"
  QLineEdit* Text2;             // hidden: the help text

  // The picture that printing and exporting use: Picture10's image for EAN,
  // otherwise Picture2's picture (null when nothing was generated).
  QImage FinishedPicture() const;
  // Why the last generate command drew no barcode ("" when it drew one, or
  // when there was nothing to draw).
  QString LastProblem() const { return lastOutcome_.problem; }
  bool LastDrawn() const { return lastOutcome_.drawn; }

  // The path of the file that "Print File" prints, shared by the path box
  // Text5, the file chooser and the command line.
  QString FilePath;

  // --- Controls -----------------------------------------------------------
  QWidget* Client;  // the inner area of the window, 7440 x 6330 twips
  QLabel* Label1;
  QLineEdit* Text1;
  QWidget* Frame9;             // the drawing areas' container, inside Frame9View
  QScrollArea* Frame9View;     // scrolls when a barcode outgrows the frame
  platform::PictureBox* Picture5;
  platform::PictureBox* Picture1;
  platform::PictureBox* Picture9;
  platform::PictureBox* Picture22;
  platform::PictureBox* Picture10;
  platform::PictureBox* Picture4;
  platform::PictureBox* Picture8;
  platform::PictureBox* Picture2;
  QLabel* LabelHint;  // why the text gave no barcode, shown over the drawing area
  QWidget* Frame8;
  QPushButton* Command1;
  QPushButton* Command2;
  QPushButton* Command3;
  QPushButton* Command4;
  QPushButton* Command9;
  QGroupBox* FrameOptions;
  QWidget* Frame17;
  QRadioButton* Option2;
  QRadioButton* Option1;
  QRadioButton* Option8;
  QRadioButton* Option9;
  QRadioButton* Option5;
  QRadioButton* Option4;
  QWidget* Frame57;
  platform::CheckBox* Check2;
  QWidget* Frame10;
  QComboBox* Combo1;
  QWidget* Frame27;
  QLineEdit* Text4;
  platform::CheckBox* Check1;
  platform::CheckBox* CheckPrintLine;
  platform::CheckBox* Checkqq;
  QWidget* Frame4;
  QLineEdit* Text5;
  QPushButton* Command5;
  QWidget* Frame3;
  QLineEdit* Text8;
  QLineEdit* Text3;
  QLabel* Label5;
  QLineEdit* Text9;
  QWidget* Frame147;
  QLabel* Label8;
  QLineEdit* Text21;
  QLineEdit* Text22;
  QPushButton* Command8;
  QWidget* Frame157;
  QLabel* Label9;
  QLineEdit* Text14;
  QLineEdit* Text15;

 protected:
  platform::Services& services_;

 private:
  void BuildLayout();
  void ConnectHandlers();
  symbologies::Outcome Generate();
  void ShowOutcome();
  // Steps 2 to 5 of reSizeimage: Picture1's scale, height and font size.
  void ApplyBarSize();
  void FitFrame9();

  symbologies::Outcome lastOutcome_;
  bool textGiven_ = false;         // Text1 was changed or "Bar Code" pressed since the start
  double picture1Height_ = 855;    // twips; the height reSizeimage set, restored at every run

  // --- Options store and start-up (private) --------------------------------
  void BuildOptions();
  void BuildMenus();
  void closeEvent(QCloseEvent* event) override;
  void SaveOption(const QString& key, const QString& value);
  void SetOptionValue(QRadioButton* option, bool value);
  void SetOuterHeightTwips(double twips);
  bool eventFilter(QObject* watched, QEvent* event) override;
  QString startupError_;  // the first conversion error of the running start-up
  // Shows the settings error (description, then what became of the store),
  // deletes the saved options and ends the program.
  void SettingsErrorPath(const QString& description);

  // --- Printing: Print, Print File, the printer list (print_commands.cpp) ---
 public:
  void Command2_Click();
  void Command4_Click();
  void PrintFile();
  // Fills the printer box with the installed printers, then sets its text to
  // the saved printer name.
  void FillPrinterList();
  // A file path given on the command line: becomes the path of "Print File",
  // which then runs. A blank command line does nothing.
  void PrintCommandLineFile(const QString& commandLine);
  bool FileRunInProgress() const { return fileRunActive_; }
  // Stops the file run in progress after its current line; what was printed
  // so far is still sent as one job.
  void CancelFileRun() { fileRunCancel_ = true; }
  const printing::FileRunResult& LastFileRun() const { return lastFileRun_; }
  // What the last command said in the status line, and the folder its
  // "Open folder" link opens ("" when none).
  QString StatusText() const;
  QString StatusFolder() const { return statusFolder_; }
  platform::Printers& CurrentPrinter() const { return services_.printers; }
  // File runs report their progress on stderr instead of in a progress window.
  bool ProgressOnConsole = false;
  // Called for each refused line as it happens. When set (the command line),
  // the run ends without the window's list of refused lines.
  std::function<void(const printing::RefusedLine&)> OnRefusedLine;

 private:
  friend class FileRunAdapter;
  void ConnectPrintHandlers();
  // Puts a line in the status bar (echoed to stderr when QUILLON_DEBUG is
  // set); with a PDF path, the link to its folder shows too.
  void ShowStatus(const QString& text, const QString& pdfPath = {});
  void BuildStatusBar();
  QLabel* statusLine_ = nullptr;
  QLabel* statusFolderLink_ = nullptr;
  QString statusFolder_;
  bool RefusedDuringFileRun();
  bool fileRunActive_ = false;
  bool fileRunCancel_ = false;
  printing::FileRunResult lastFileRun_;
  QProgressDialog* fileRunProgress_ = nullptr;

  // --- File chooser, Run It, clipboard copy (run_commands.cpp) ---------------
 public:
  void FileOpen_Click();
  void Command3_Click();
  void Command5_Click();
  // The chooser while it is open, else null.
  file_chooser::Form2* OpenChooser() const;

  void Command8_Click();
  void Command9_Click();
  // The length of each of the two pauses of a Run It step, in seconds.
  double RunPauseSeconds = 1;
  bool IncrementingRunInProgress() const { return incrementingRun_; }
  // Stops Run It after the number being printed.
  void CancelIncrementingRun() { incrementingCancel_ = true; }
  struct IncrementingRunResult {
    int numbers = 0;             // numbers printed or tried
    int jobs = 0;                // print jobs sent
    QStringList notPrinted;      // the barcode texts whose Print sent no job
    QString lastPrinted;         // the barcode text of the last job sent
    QString refusal;             // why the run did not start or stopped early ("" if it did not)
    bool cancelled = false;
  };
  const IncrementingRunResult& LastIncrementingRun() const { return lastIncrementingRun_; }

 private:
  void ConnectRunHandlers();
  bool RefusedDuringIncrementingRun();
  // left: To less From, the numbers still to come with this one.
  void ShowIncrementingProgress(const QString& text, int number, double left);
  QPointer<file_chooser::Form2> chooser_;
  bool incrementingRun_ = false;
  bool incrementingCancel_ = false;
  IncrementingRunResult lastIncrementingRun_;
  QProgressDialog* incrementingProgress_ = nullptr;
};

}  // namespace main_window
