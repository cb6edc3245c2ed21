// The main window's menus: File, Edit, Options and Help. The Edit entries
// only run the buttons' handlers; Help and About show fixed texts.
#include "main_window/form1.h"

#include <QCloseEvent>
#include <QMenuBar>

namespace main_window {

namespace {

const QString kAboutTitle = QStringLiteral("Quillon 4.1");
const QString kNotYet = QStringLiteral("Not available in this version yet");

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
  // Entries whose Part 1.3 caption has no ampersand get one on a letter of
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

  // Saving the picture is not in this version: its entry says so.
  for (QMenu* menu : {FileMenu, EditMenu}) menu->setToolTipsVisible(true);
  for (QAction* entry : {SaveBarCodeAs}) {
    entry->setEnabled(false);
    entry->setToolTip(kNotYet);
  }

  Text2 = new QLineEdit(kHelpText, Client);
  Text2->setVisible(false);

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

void Form1::Help_Click() { services_.dialogs.Ok(Text2->text(), kAboutTitle); }

void Form1::About_Click() { services_.dialogs.Ok(kAboutText, kAboutTitle); }

// Leaving ends the program at once, whatever other window is open.
void Form1::Exit_Click() { services_.dialogs.EndProgram(0); }

void Form1::closeEvent(QCloseEvent* event) {
  event->accept();
  Exit_Click();
}

}  // namespace main_window
