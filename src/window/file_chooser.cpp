#include "window/file_chooser.h"

#include "window/main_window.h"
#include "window/controls.h"
#include "platform/drives.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QStyle>

#include <algorithm>

namespace window {

using window::TwipsToPixels;

namespace {

// Design layout in twips: the inner area, and the controls' places.
constexpr double kClientWidth = 4560;
constexpr double kClientHeight = 2760;
constexpr double kText2Left = 120;
constexpr double kDrive1Top = 480;
constexpr double kDir1Top = 840;

QString JoinPath(const QString& folder, const QString& name) {
  QString path = folder + QLatin1Char('/') + name;
  while (path.contains(QLatin1String("//"))) path.replace(QLatin1String("//"), QLatin1String("/"));
  return path;
}

QString Setting(const platform::SettingsStore& store, const char* key, const QString& defaultValue) {
  return store.GetSetting(kChooserApp, kChooserSection, QString::fromLatin1(key), defaultValue);
}

// Pixels back to twips of the (enlarged) layout grid.
double Twips(int pixels) { return pixels * window::kTwipsPerPixel / window::kLayoutScale; }

void SetWidthTwips(QWidget* w, double twips) { w->resize(TwipsToPixels(std::max(0.0, twips)), w->height()); }
void SetHeightTwips(QWidget* w, double twips) { w->resize(w->width(), TwipsToPixels(std::max(0.0, twips))); }

}  // namespace

QString WithHomeFolder(const QString& path) {
  if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/"))) return QDir::homePath() + path.mid(1);
  return path;
}

// --- Folder list -----------------------------------------------------------------

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
  connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) { SetPath(EntryPath(row(item))); });
}

bool FolderList::SetPath(const QString& path) {
  const QFileInfo info(path);
  if (path.isEmpty() || !info.isDir() || !info.isReadable() || !info.isExecutable()) return false;
  const QString clean = QDir::cleanPath(info.absoluteFilePath());
  if (clean == path_) return true;
  path_ = clean;
  clear();
  // The chain of folders down to this one, then its sub-folders.
  QStringList chain = clean.split(QLatin1Char('/'), Qt::SkipEmptyParts);
  int depth = 0;
  QString soFar = QStringLiteral("/");
  const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
  auto add = [&](const QString& label, const QString& full, int indent, bool open) {
    auto* item = new QListWidgetItem(open ? openIcon : closedIcon, QString(indent * 2, QLatin1Char(' ')) + label, this);
    item->setData(Qt::UserRole, full);
    item->setToolTip(full);
  };
  add(QStringLiteral("/"), soFar, depth++, true);
  for (const QString& part : chain) {
    soFar = JoinPath(soFar, part);
    add(part, soFar, depth++, true);
  }
  setCurrentRow(count() - 1);
  for (const QString& sub : platform::SubFolders(clean)) add(sub, JoinPath(clean, sub), depth, false);
  if (Changed) Changed();
  return true;
}

QString FolderList::EntryPath(int row) const {
  const QListWidgetItem* entry = item(row);
  return entry ? entry->data(Qt::UserRole).toString() : QString();
}

// --- File list -------------------------------------------------------------------

FileList::FileList(QWidget* parent, QString pattern) : QListWidget(parent), pattern_(std::move(pattern)) {}

bool FileList::SetPath(const QString& folder) {
  const QFileInfo info(folder);
  if (folder.isEmpty() || !info.isDir()) return false;
  path_ = QDir::cleanPath(info.absoluteFilePath());
  Refresh();
  return true;
}

void FileList::Refresh() {
  const QSignalBlocker quiet(this);  // refilling is no click
  clear();
  addItems(platform::MatchingFiles(path_, pattern_));
}

// --- The chooser ---------------------------------------------------------------

FileChooser::FileChooser(window::MainWindow& main, platform::Services& services)
    : QWidget(&main, Qt::Window), main_(main), services_(services) {
  setWindowTitle(QStringLiteral("File"));
  setAttribute(Qt::WA_DeleteOnClose);
  setFont(main.Client->font());
  pathBox = window::MakeTextBox(this, {}, kText2Left, 120, 4215, 285);
  driveList = new QComboBox(this);
  window::PlaceTwips(driveList, 120, kDrive1Top, 1815, 315);
  driveList->addItems(platform::Drives());
  folderList = new FolderList(this);
  window::PlaceTwips(folderList, 120, kDir1Top, 1815, 1440);
  fileList = new FileList(this, QStringLiteral("*.txt"));
  window::PlaceTwips(fileList, 2040, kDrive1Top, 2295, 1845);
  okButton = window::MakeButton(this, QStringLiteral("OK"), 480, 2400, 1575, 255);
  cancelButton = window::MakeButton(this, QStringLiteral("Cancel"), 2760, 2400, 1575, 255);
  okButton->setDefault(true);
  resize(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight));

  // The lists start at the current folder and its drive.
  const QString current = QDir::currentPath();
  {
    const QSignalBlocker quiet(driveList);
    driveList->setCurrentIndex(std::max(0, driveList->findText(platform::DriveOf(current))));
  }
  folderList->SetPath(current);
  fileList->SetPath(folderList->Path());

  connect(pathBox, &QLineEdit::textChanged, this, &FileChooser::onPathChanged);
  connect(driveList, &QComboBox::currentIndexChanged, this, &FileChooser::onDriveChanged);
  folderList->Changed = [this] { onFolderChanged(); };
  connect(fileList, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0) onFileClicked();
  });
  connect(fileList, &QListWidget::itemClicked, this, &FileChooser::onFileClicked);
  connect(okButton, &QPushButton::clicked, this, &FileChooser::ok);
  connect(cancelButton, &QPushButton::clicked, this, &FileChooser::cancel);
}

void FileChooser::restoreState() {
  platform::SettingsStore& store = services_.settings;
  const QString typed = main_.filePathBox->text();
  pathBox->setText(typed.isEmpty() ? Setting(store, "FilePath", {}) : typed);
  // A drive or folder that is gone leaves the lists where they are.
  SetDrive(platform::DriveFromSaved(Setting(store, "Drive1Drive", QStringLiteral("c:\\"))));
  const QString folder = Setting(store, "Dir1Path", {});
  if (!folder.isEmpty()) folderList->SetPath(folder);
  const QString files = Setting(store, "file1Path", {});
  if (!files.isEmpty()) fileList->SetPath(files);
  OpenOnFolderOf(typed);
  layOutForSize();
}

void FileChooser::OpenOnFolderOf(const QString& typed) {
  const QFileInfo file(WithHomeFolder(typed));
  if (typed.isEmpty() || !QFileInfo(file.absolutePath()).isDir()) return;
  SetDrive(platform::DriveOf(file.absolutePath()));
  if (!folderList->SetPath(file.absolutePath())) return;
  fileList->SetPath(folderList->Path());
  const QSignalBlocker quiet(fileList);  // showing the typed file is no click
  const auto found = fileList->findItems(file.fileName(), Qt::MatchExactly);
  if (!found.isEmpty()) fileList->setCurrentItem(found.constFirst());
}

bool FileChooser::SetDrive(const QString& drive) {
  const int index = driveList->findText(drive);
  if (index < 0) return false;
  driveList->setCurrentIndex(index);  // a change runs onDriveChanged
  return true;
}

void FileChooser::onDriveChanged() {
  // A drive that cannot be read leaves the folder list where it was.
  folderList->SetPath(platform::DriveCurrentFolder(Drive()));
}

void FileChooser::onFolderChanged() { fileList->SetPath(folderList->Path()); }

void FileChooser::onFileClicked() {
  const QListWidgetItem* chosen = fileList->currentItem();
  if (!chosen) return;
  pathBox->setText(JoinPath(folderList->Path(), chosen->text()));
}

void FileChooser::onPathChanged() { main_.TakeChooserPath(pathBox->text()); }

void FileChooser::ok() {
  if (!pathBox->text().isEmpty()) {
    platform::SettingsStore& store = services_.settings;
    store.SaveSetting(kChooserApp, kChooserSection, QStringLiteral("Drive1Drive"), Drive());
    store.SaveSetting(kChooserApp, kChooserSection, QStringLiteral("Dir1Path"), folderList->Path());
    store.SaveSetting(kChooserApp, kChooserSection, QStringLiteral("File1Path"), fileList->Path());
    store.SaveSetting(kChooserApp, kChooserSection, QStringLiteral("FilePath"), pathBox->text());
    main_.FilePath = pathBox->text();
    accepted_ = true;
  } else {
    services_.dialogs.Ok(kNoFileText, window::kWindowTitle);
  }
  close();
}

void FileChooser::cancel() { close(); }

// Cancel, the close box and OK without a path all come here.
void FileChooser::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  main_.ChooserClosed(accepted_);
}

void FileChooser::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layOutForSize();
}

void FileChooser::layOutForSize() {
  const QSize outer = frameGeometry().size();
  layOut(Twips(outer.width()), Twips(outer.height()));
}

void FileChooser::layOut(double w, double h) {
  // Widths below 600 twips would make the file list's width negative: it
  // stays at 0 then.
  SetWidthTwips(pathBox, w - 2.5 * kText2Left);
  SetWidthTwips(fileList, w / 2 - 2.5 * kText2Left);
  SetWidthTwips(folderList, w / 2);
  SetWidthTwips(driveList, Twips(folderList->width()));
  fileList->move(TwipsToPixels(Twips(folderList->width()) + 200), fileList->y());
  if (h > 1750) {
    SetHeightTwips(folderList, h - 1750);
    const double dir1Height = Twips(folderList->height());
    SetHeightTwips(fileList, kDrive1Top + dir1Height);
    const int top = TwipsToPixels(dir1Height + kDir1Top + 200);
    okButton->move(okButton->x(), top);
    cancelButton->move(cancelButton->x(), top);
  }
}

}  // namespace window
