// The main window's menus: File, Edit, Options and Help. The Edit entries
// only run the buttons' handlers; Help and About show fixed texts.
#include "window/main_window.h"

#include "jobs/export.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>

namespace window {

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
    "file that you would like to print.  For Example \"quillon ~/labels/order1.txt\"\r\n");

const QString kAboutText = QStringLiteral(
    "Quillon 4.1 \r\n"
    "Quillon Software\r\n"
    "www.quillon.example");

}  // namespace

void MainWindow::BuildMenus() {
  const auto add = [this](QMenu* menu, const QString& caption, void (MainWindow::*run)(), const QKeySequence& keys = {}) {
    QAction* action = menu->addAction(caption);
    action->setShortcut(keys);
    connect(action, &QAction::triggered, this, run);
    return action;
  };
  // Entries whose given caption has no ampersand get one on a letter of
  // their own, so that every entry is reachable from the keyboard.
  fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
  fileOpenAction = add(fileMenu, QStringLiteral("File &Open"), &MainWindow::openFileChooser, Qt::CTRL | Qt::Key_O);
  saveAsAction =
      add(fileMenu, QStringLiteral("Save Bar Code &As..."), &MainWindow::saveBarCodeAs, Qt::CTRL | Qt::SHIFT | Qt::Key_S);
  printPreviewAction = add(fileMenu, QStringLiteral("Print Pre&view..."), &MainWindow::printPreview);
  fileHelpAction = add(fileMenu, QStringLiteral("&Help"), &MainWindow::help);
  fileMenu->addSeparator();
  exitAction = add(fileMenu, QStringLiteral("E&xit"), &MainWindow::exit, Qt::CTRL | Qt::Key_Q);

  editMenu = menuBar()->addMenu(QStringLiteral("&Edit"));
  generateAction = add(editMenu, QStringLiteral("&Bar Code"), &MainWindow::generate);
  printAction = add(editMenu, QStringLiteral("&Print"), &MainWindow::print, Qt::CTRL | Qt::Key_P);
  openFileAction = add(editMenu, QStringLiteral("&Open File"), &MainWindow::openFileChooser);
  printFileAction = add(editMenu, QStringLiteral("Print &File"), &MainWindow::printFile);
  copyAction = add(editMenu, QStringLiteral("&Copy Bar Code to Clipboard"), &MainWindow::copyToClipboard);

  optionsMenu = menuBar()->addMenu(QStringLiteral("&Options"));
  settingsAction = add(optionsMenu, QStringLiteral("&Hide Settings"), &MainWindow::toggleSettingsPanel);
  restoreDefaultsAction = add(optionsMenu, QStringLiteral("&Restore Default Settings"), &MainWindow::restoreDefaults);
  labelSheetAction = add(optionsMenu, QStringLiteral("&Label Sheet..."), &MainWindow::chooseLabelSheet);
  RestoreLabelChoice();

  helpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
  helpAction = add(helpMenu, QStringLiteral("&Help"), &MainWindow::help, Qt::Key_F1);
  aboutAction = add(helpMenu, QStringLiteral("&About"), &MainWindow::about);

  ChooseSavePath = [this](const QString& folder) { return AskSavePath(this, folder); };
}

QString MainWindow::AskSavePath(QWidget* parent, const QString& folder) {
  QFileDialog chooser(parent, QStringLiteral("Save Bar Code As"), folder);
  chooser.setAcceptMode(QFileDialog::AcceptSave);  // asks before replacing a file
  chooser.setNameFilters({QStringLiteral("PNG image (*.png)"), QStringLiteral("SVG drawing (*.svg)"),
                          QStringLiteral("PDF document (*.pdf)")});
  chooser.setDefaultSuffix(QStringLiteral("png"));
  connect(&chooser, &QFileDialog::filterSelected, &chooser, [&chooser](const QString& filter) {
    chooser.setDefaultSuffix(filter.section(QLatin1Char('.'), -1).chopped(1));
  });
  return chooser.exec() == QDialog::Accepted && !chooser.selectedFiles().isEmpty() ? chooser.selectedFiles().constFirst()
                                                                                     : QString();
}


void MainWindow::saveBarCodeAs() {
  if (!finishedPicture().Drawn()) {
    ShowStatus(QStringLiteral("Not saved: no barcode"));
    services_.dialogs.Ok(QStringLiteral("Please Generate a barcode to save"), kWindowTitle);
    return;
  }
  const QString path = ChooseSavePath(saveFolder_);
  if (path.isEmpty()) return ShowStatus(QStringLiteral("Not saved: cancelled"));
  saveBarCodeTo(path);
}

QString MainWindow::saveBarCodeTo(const QString& path) {
  const QString problem =
      !finished_.Drawn() ? QStringLiteral("no barcode")
                         : jobs::WritePicture(jobs::WithQuietZone(finished_, kQuietZoneModules), path,
                                              platform::Replace::Allowed);
  if (!problem.isEmpty()) {
    ShowStatus(QStringLiteral("Not saved: ") + problem);
    services_.dialogs.Ok(QStringLiteral("The barcode could not be saved: ") + problem, kWindowTitle);
    return problem;
  }
  saveFolder_ = QFileInfo(path).absolutePath();  // the next Save As opens there
  ShowStatus(QStringLiteral("Barcode saved as %1").arg(path), path);
  return {};
}

void MainWindow::help() { services_.dialogs.Ok(kHelpText, kAboutTitle); }

void MainWindow::about() { services_.dialogs.Ok(kAboutText, kAboutTitle); }

// Leaving ends the program at once, whatever other window is open.
void MainWindow::exit() { services_.dialogs.EndProgram(0); }

void MainWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  exit();
}

}  // namespace window
