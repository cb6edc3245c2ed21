#include "file_chooser/form2.h"

#include "main_window/form1.h"
#include "platform/controls.h"
#include "platform/drives.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QStyle>

#include <algorithm>

namespace file_chooser {

using platform::TwipsToPixels;

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
  return store.GetSetting(kApp, kSection, QString::fromLatin1(key), defaultValue);
}

// Pixels back to twips of the (enlarged) layout grid.
double Twips(int pixels) { return pixels * platform::kTwipsPerPixel / platform::kLayoutScale; }

void SetWidthTwips(QWidget* w, double twips) { w->resize(TwipsToPixels(std::max(0.0, twips)), w->height()); }
void SetHeightTwips(QWidget* w, double twips) { w->resize(w->width(), TwipsToPixels(std::max(0.0, twips))); }

}  // namespace

// --- Folder list -----------------------------------------------------------------

DirListBox::DirListBox(QWidget* parent) : QListWidget(parent) {
  connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) { SetPath(EntryPath(row(item))); });
}

bool DirListBox::SetPath(const QString& path) {
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

QString DirListBox::EntryPath(int row) const {
  const QListWidgetItem* entry = item(row);
  return entry ? entry->data(Qt::UserRole).toString() : QString();
}

// --- File list -------------------------------------------------------------------

FileListBox::FileListBox(QWidget* parent, QString pattern) : QListWidget(parent), pattern_(std::move(pattern)) {}

bool FileListBox::SetPath(const QString& folder) {
  const QFileInfo info(folder);
  if (folder.isEmpty() || !info.isDir()) return false;
  path_ = QDir::cleanPath(info.absoluteFilePath());
  Refresh();
  return true;
}

void FileListBox::Refresh() {
  const QSignalBlocker quiet(this);  // refilling is no click
  clear();
  addItems(platform::MatchingFiles(path_, pattern_));
}

// --- The chooser ---------------------------------------------------------------

Form2::Form2(main_window::Form1& main, platform::Services& services)
    : QWidget(&main, Qt::Window), main_(main), services_(services) {
  setWindowTitle(QStringLiteral("File"));
  setAttribute(Qt::WA_DeleteOnClose);
  setFont(main.Client->font());
  Text2 = platform::MakeTextBox(this, {}, kText2Left, 120, 4215, 285);
  Drive1 = new QComboBox(this);
  platform::PlaceTwips(Drive1, 120, kDrive1Top, 1815, 315);
  Drive1->addItems(platform::Drives());
  Dir1 = new DirListBox(this);
  platform::PlaceTwips(Dir1, 120, kDir1Top, 1815, 1440);
  File1 = new FileListBox(this, QStringLiteral("*.txt"));
  platform::PlaceTwips(File1, 2040, kDrive1Top, 2295, 1845);
  Command1 = platform::MakeButton(this, QStringLiteral("OK"), 480, 2400, 1575, 255);
  Command2 = platform::MakeButton(this, QStringLiteral("Cancel"), 2760, 2400, 1575, 255);
  Command1->setDefault(true);
  resize(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight));

  // The lists start at the current folder and its drive.
  const QString current = QDir::currentPath();
  {
    const QSignalBlocker quiet(Drive1);
    Drive1->setCurrentIndex(std::max(0, Drive1->findText(platform::DriveOf(current))));
  }
  Dir1->SetPath(current);
  File1->SetPath(Dir1->Path());

  connect(Text2, &QLineEdit::textChanged, this, &Form2::Text2_Change);
  connect(Drive1, &QComboBox::currentIndexChanged, this, &Form2::Drive1_Change);
  Dir1->Changed = [this] { Dir1_Change(); };
  connect(File1, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0) File1_Click();
  });
  connect(File1, &QListWidget::itemClicked, this, &Form2::File1_Click);
  connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &Form2::Command2_Click);
}

void Form2::Form_Load() {
  platform::SettingsStore& store = services_.settings;
  Text2->setText(Setting(store, "FilePath", {}));
  // A drive or folder that is gone leaves the lists where they are.
  SetDrive(platform::DriveFromSaved(Setting(store, "Drive1Drive", QStringLiteral("c:\\"))));
  const QString folder = Setting(store, "Dir1Path", {});
  if (!folder.isEmpty()) Dir1->SetPath(folder);
  const QString files = Setting(store, "file1Path", {});
  if (!files.isEmpty()) File1->SetPath(files);
  Form_Resize();
}

bool Form2::SetDrive(const QString& drive) {
  const int index = Drive1->findText(drive);
  if (index < 0) return false;
  Drive1->setCurrentIndex(index);  // a change runs Drive1_Change
  return true;
}

void Form2::Drive1_Change() {
  // A drive that cannot be read leaves the folder list where it was.
  Dir1->SetPath(platform::DriveCurrentFolder(Drive()));
}

void Form2::Dir1_Change() { File1->SetPath(Dir1->Path()); }

void Form2::File1_Click() {
  const QListWidgetItem* chosen = File1->currentItem();
  if (!chosen) return;
  Text2->setText(JoinPath(Dir1->Path(), chosen->text()));
}

void Form2::Text2_Change() {
  if (main_.Text5->text() != Text2->text()) main_.Text5->setText(Text2->text());
}

void Form2::Command1_Click() {
  if (!Text2->text().isEmpty()) {
    platform::SettingsStore& store = services_.settings;
    store.SaveSetting(kApp, kSection, QStringLiteral("Drive1Drive"), Drive());
    store.SaveSetting(kApp, kSection, QStringLiteral("Dir1Path"), Dir1->Path());
    store.SaveSetting(kApp, kSection, QStringLiteral("File1Path"), File1->Path());
    store.SaveSetting(kApp, kSection, QStringLiteral("FilePath"), Text2->text());
    main_.FilePath = Text2->text();
  } else {
    services_.dialogs.Ok(kNoFileText, main_window::kWindowTitle);
  }
  close();
}

void Form2::Command2_Click() { close(); }

void Form2::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Form_Resize();
}

void Form2::Form_Resize() {
  const QSize outer = frameGeometry().size();
  LayOut(Twips(outer.width()), Twips(outer.height()));
}

void Form2::LayOut(double w, double h) {
  // Widths below 600 twips would make the file list's width negative: it
  // stays at 0 then.
  SetWidthTwips(Text2, w - 2.5 * kText2Left);
  SetWidthTwips(File1, w / 2 - 2.5 * kText2Left);
  SetWidthTwips(Dir1, w / 2);
  SetWidthTwips(Drive1, Twips(Dir1->width()));
  File1->move(TwipsToPixels(Twips(Dir1->width()) + 200), File1->y());
  if (h > 1750) {
    SetHeightTwips(Dir1, h - 1750);
    const double dir1Height = Twips(Dir1->height());
    SetHeightTwips(File1, kDrive1Top + dir1Height);
    const int top = TwipsToPixels(dir1Height + kDir1Top + 200);
    Command1->move(Command1->x(), top);
    Command2->move(Command2->x(), top);
  }
}

}  // namespace file_chooser
