// The main window's menus: File, Edit, Options and Help. The Edit entries
// only run the buttons' handlers; Help and About show fixed texts.
#include "main_window/form1.h"

#include "platform/picture_file.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QMenuBar>

namespace main_window {

namespace {

const QString kAboutTitle = QStringLiteral("Quillon 4.1");

const QString kHelpText = QStringLiteral(
    "Ostrand 2.1 Prints bar code found in specified text files. \r\n"
    "There are two ways to specify the text file.  \r\n"
    "One is to browser to the specified file.  This can be done by clicking File Open button, and selecting "
    "the file you \r\n"
    "would like print.  Then Click the Print file Button.  \r\n"
    "The second way to do it is by command line, The just specify the program  and a space and the path "
    "name to the \r\n"
    "file that you would like to print.  For Example \"quillon.exe c:\\files\\order1.txt\"\r\n");

const QString kAboutText = QStringLiteral(
    "Quillon 4.1 \r\n"
    "Quillon Software\r\n"
    "www.quillon.example");

}  // namespace

void Form1::BuildMenus() {
  // Entries whose given caption has no ampersand get one on a letter of
  // their own, so that every entry is reachable from the keyboard.
  FileMenu = menuBar()->addMenu(QStringLiteral("&File"));
  FileOpen = FileMenu->addAction(QStringLiteral("File &Open"));
  FileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  SaveBarCodeAs = FileMenu->addAction(QStringLiteral("Save Bar Code &As..."));
  SaveBarCodeAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  FileHelp = FileMenu->addAction(QStringLiteral("&Help"));
  FileMenu->addSeparator();
  Exit = FileMenu->addAction(QStringLiteral("E&xit"));
  Exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

  EditMenu = menuBar()->addMenu(QStringLiteral("&Edit"));
  BarCodeTemp = EditMenu->addAction(QStringLiteral("&Bar Code"));
  PrintTemp = EditMenu->addAction(QStringLiteral("&Print"));
  PrintTemp->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  OpenFileTemp = EditMenu->addAction(QStringLiteral("&Open File"));
  PrintFileTemp = EditMenu->addAction(QStringLiteral("Print &File"));
  BarCodetoClipboard = EditMenu->addAction(QStringLiteral("&Copy Bar Code to Clipboard"));

  OptionsMenu = menuBar()->addMenu(QStringLiteral("&Options"));
  Settings = OptionsMenu->addAction(QStringLiteral("&Hide Settings"));
  RestoreDefaults = OptionsMenu->addAction(QStringLiteral("&Restore Default Settings"));

  HelpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
  HelpItem = HelpMenu->addAction(QStringLiteral("&Help"));
  HelpItem->setShortcut(QKeySequence(Qt::Key_F1));
  About = HelpMenu->addAction(QStringLiteral("&About"));


  Text2 = new QLineEdit(kHelpText, Client);
  Text2->setVisible(false);

  connect(SaveBarCodeAs, &QAction::triggered, this, &Form1::SaveBarCodeAs_Click);
  ChooseSavePath = [this] {
    QFileDialog chooser(this, QStringLiteral("Save Bar Code As"));
    chooser.setAcceptMode(QFileDialog::AcceptSave);  // asks before replacing a file
    chooser.setNameFilters({QStringLiteral("PNG image (*.png)"), QStringLiteral("SVG drawing (*.svg)"),
                            QStringLiteral("PDF document (*.pdf)")});
    chooser.setDefaultSuffix(QStringLiteral("png"));
    connect(&chooser, &QFileDialog::filterSelected, &chooser, [&chooser](const QString& filter) {
      chooser.setDefaultSuffix(filter.section(QLatin1Char('.'), -1).chopped(1));
    });
    return chooser.exec() == QDialog::Accepted && !chooser.selectedFiles().isEmpty()
               ? chooser.selectedFiles().constFirst()
               : QString();
  };
  connect(FileOpen, &QAction::triggered, this, &Form1::FileOpen_Click);
  connect(OpenFileTemp, &QAction::triggered, this, &Form1::OpenFileTemp_Click);
  connect(BarCodetoClipboard, &QAction::triggered, this, &Form1::BarCodetoClipboard_Click);
  connect(FileHelp, &QAction::triggered, this, &Form1::FileHelp_Click);
  connect(Exit, &QAction::triggered, this, &Form1::Exit_Click);
  connect(BarCodeTemp, &QAction::triggered, this, &Form1::BarCodeTemp_Click);
  connect(PrintTemp, &QAction::triggered, this, &Form1::PrintTemp_Click);
  connect(PrintFileTemp, &QAction::triggered, this, &Form1::PrintFileTemp_Click);
  connect(Settings, &QAction::triggered, this, &Form1::Settings_Click);
  connect(RestoreDefaults, &QAction::triggered, this, &Form1::RestoreDefaults_Click);
  connect(HelpItem, &QAction::triggered, this, &Form1::Help_Click);
  connect(About, &QAction::triggered, this, &Form1::About_Click);
}

void Form1::BarCodeTemp_Click() { Command1_Click(); }
void Form1::PrintTemp_Click() { Command2_Click(); }
void Form1::PrintFileTemp_Click() { Command4_Click(); }
void Form1::OpenFileTemp_Click() { Command3_Click(); }
void Form1::BarCodetoClipboard_Click() { Command9_Click(); }
void Form1::FileHelp_Click() { Help_Click(); }

void Form1::SaveBarCodeAs_Click() {
  if (FinishedPicture().isNull()) {
    ShowStatus(QStringLiteral("Not saved: no barcode"));
    services_.dialogs.Ok(QStringLiteral("Please Generate a barcode to save"), kWindowTitle);
    return;
  }
  const QString path = ChooseSavePath();
  if (path.isEmpty()) return ShowStatus(QStringLiteral("Not saved: cancelled"));
  SaveBarCodeTo(path);
}

QString Form1::SaveBarCodeTo(const QString& path) {
  const QImage picture = FinishedPicture();
  const QString problem = picture.isNull() ? QStringLiteral("no barcode")
                                           : platform::WritePictureFile(picture, path, platform::Replace::Allowed);
  if (!problem.isEmpty()) {
    ShowStatus(QStringLiteral("Not saved: ") + problem);
    services_.dialogs.Ok(QStringLiteral("The barcode could not be saved: ") + problem, kWindowTitle);
    return problem;
  }
  ShowStatus(QStringLiteral("Barcode saved as %1").arg(path), path);
  return {};
}

void Form1::Help_Click() { services_.dialogs.Ok(Text2->text(), kAboutTitle); }

void Form1::About_Click() { services_.dialogs.Ok(kAboutText, kAboutTitle); }

// Leaving ends the program at once, whatever other window is open.
void Form1::Exit_Click() { services_.dialogs.EndProgram(0); }

void Form1::closeEvent(QCloseEvent* event) {
  event->accept();
  Exit_Click();
}

}  // namespace main_window
