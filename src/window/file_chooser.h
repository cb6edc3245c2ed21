#pragma once
// The file chooser ("File"): a path box, a drive list, a folder list and the
// "*.txt" files of the chosen folder. It picks the file that "Print File"
// prints, keeps its path box and the main window's path box in step while it
// is open, and remembers the last drive, folder and path (on OK only) under
// "Ostrand"/"FileSettings". Only OK keeps its path: Cancel puts back the
// path the main window had.
#include "platform/services.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

#include <functional>

namespace window {
class MainWindow;
}

namespace window {

inline const QString kChooserApp = QStringLiteral("Ostrand");
inline const QString kChooserSection = QStringLiteral("FileSettings");
inline const QString kNoFileText = QStringLiteral("Please Speicify a file ");

// A typed path with a leading "~/" (or a lone "~") in the home folder.
QString WithHomeFolder(const QString& path);

// A folder list: the folders from the root down to the current one, then the
// current folder's sub-folders, indented like a tree. Opening an entry
// (double click or Enter) makes it the current folder.
class FolderList : public QListWidget {
 public:
  explicit FolderList(QWidget* parent);
  const QString& Path() const { return path_; }
  // False (and nothing changes) when path is not a folder that can be read.
  bool SetPath(const QString& path);
  // The full path of the entry at row.
  QString EntryPath(int row) const;
  std::function<void()> Changed;

 private:
  QString path_;
};

// The names of the files in one folder that match a pattern.
class FileList : public QListWidget {
 public:
  FileList(QWidget* parent, QString pattern);
  const QString& Path() const { return path_; }
  bool SetPath(const QString& folder);
  void Refresh();

 private:
  QString path_;
  QString pattern_;
};

class FileChooser : public QWidget {
 public:
  FileChooser(window::MainWindow& main, platform::Services& services);

  // Restores the saved drive, folder and path, then lays the window out. A
  // path typed in the main window stays, and the lists open on its folder.
  void restoreState();
  void onDriveChanged();
  void onFolderChanged();
  void onFileClicked();
  void onPathChanged();
  void ok();  // OK
  void cancel();  // Cancel
  void layOutForSize();
  // The resize rules for an outer size in twips.
  void layOut(double outerWidth, double outerHeight);

  // The drive list's current drive (a mount point).
  QString Drive() const { return driveList->currentText(); }
  // Makes drive current when the list has it; false otherwise.
  bool SetDrive(const QString& drive);

  QLineEdit* pathBox;
  QComboBox* driveList;
  FolderList* folderList;
  FileList* fileList;
  QPushButton* okButton;
  QPushButton* cancelButton;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void OpenOnFolderOf(const QString& typed);
  window::MainWindow& main_;
  platform::Services& services_;
  bool accepted_ = false;  // OK took a path
};

}  // namespace window
