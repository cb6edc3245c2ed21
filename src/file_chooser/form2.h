#pragma once
// The file chooser ("File"): a path box, a drive list, a folder list and the
// "*.txt" files of the chosen folder. It picks the file that "Print File"
// prints, keeps its path box and the main window's path box in step while it
// is open, and remembers the last drive, folder and path (on OK only) under
// "Ostrand"/"FileSettings".
#include "platform/services.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

#include <functional>

namespace main_window {
class Form1;
}

namespace file_chooser {

inline const QString kApp = QStringLiteral("Ostrand");
inline const QString kSection = QStringLiteral("FileSettings");
inline const QString kNoFileText = QStringLiteral("Please Speicify a file ");

// A folder list: the folders from the root down to the current one, then the
// current folder's sub-folders, indented like a tree. Opening an entry
// (double click or Enter) makes it the current folder.
class DirListBox : public QListWidget {
 public:
  explicit DirListBox(QWidget* parent);
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
class FileListBox : public QListWidget {
 public:
  FileListBox(QWidget* parent, QString pattern);
  const QString& Path() const { return path_; }
  bool SetPath(const QString& folder);
  void Refresh();

 private:
  QString path_;
  QString pattern_;
};

class Form2 : public QWidget {
 public:
  Form2(main_window::Form1& main, platform::Services& services);

  // Restores the saved drive, folder and path, then lays the window out.
  void Form_Load();
  void Drive1_Change();
  void Dir1_Change();
  void File1_Click();
  void Text2_Change();
  void Command1_Click();  // OK
  void Command2_Click();  // Cancel
  void Form_Resize();
  // The resize rules for an outer size in twips.
  void LayOut(double outerWidth, double outerHeight);

  // The drive list's current drive (a mount point).
  QString Drive() const { return Drive1->currentText(); }
  // Makes drive current when the list has it; false otherwise.
  bool SetDrive(const QString& drive);

  QLineEdit* Text2;
  QComboBox* Drive1;
  DirListBox* Dir1;
  FileListBox* File1;
  QPushButton* Command1;
  QPushButton* Command2;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  main_window::Form1& main_;
  platform::Services& services_;
};

}  // namespace file_chooser
