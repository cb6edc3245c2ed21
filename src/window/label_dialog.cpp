#include "window/label_dialog.h"

#include "labels/listing.h"
#include "labels/sheet.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QSpinBox>
#include <QVBoxLayout>

namespace window {

namespace {

const QString kNoLabels = QStringLiteral("No labels");

}  // namespace

LabelDialog::LabelDialog(QWidget* parent, const labels::Database& database, const jobs::LabelChoice& current)
    : QDialog(parent), database_(database) {
  setWindowTitle(QStringLiteral("Label Sheet"));
  searchBox = new QLineEdit(this);
  searchBox->setPlaceholderText(QStringLiteral("Brand, part or description"));
  searchBox->setClearButtonEnabled(true);
  productList = new QListWidget(this);
  productList->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 9));
  productList->setMinimumWidth(520);
  firstLabelBox = new QSpinBox(this);
  sheetDrawing = new SheetDrawing(this);
  sheetDrawing->setMinimumSize(200, 240);
  buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("&Search:"), searchBox);
  form->addRow(QStringLiteral("&First label:"), firstLabelBox);
  auto* columns = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addLayout(form);
  left->addWidget(productList, 1);
  columns->addLayout(left, 1);
  columns->addWidget(sheetDrawing);
  auto* all = new QVBoxLayout(this);
  all->addLayout(columns, 1);
  all->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  // Typing a search selects the first product it finds, so that Return takes it.
  connect(searchBox, &QLineEdit::textEdited, this, [this](const QString& query) { Fill(query, {}); });
  connect(productList, &QListWidget::currentRowChanged, this, [this] { OnSelected(); });
  connect(firstLabelBox, &QSpinBox::valueChanged, this,
          [this](int first) { sheetDrawing->Show(Selected(), first); });
  Fill({}, current.product);
  const labels::Product* chosen = Selected();
  firstLabelBox->setValue(chosen ? std::clamp(current.firstLabel, 1, labels::LabelsPerSheet(*chosen)) : 1);
  searchBox->setFocus();
}

void LabelDialog::Fill(const QString& query, const QString& select) {
  productList->clear();
  productList->addItem(kNoLabels);
  const labels::Product* wanted = select.isEmpty() ? nullptr : database_.Find(select);
  int row = 0;
  for (const labels::Product* product : database_.Search(query)) {
    auto* item = new QListWidgetItem(labels::ListLine(*product, {14, 22, 24}), productList);
    item->setData(Qt::UserRole, labels::FullName(*product));
    if (product == wanted || (!wanted && !query.trimmed().isEmpty() && row == 0)) row = productList->count() - 1;
  }
  productList->setCurrentRow(row);
  productList->scrollToItem(productList->currentItem());
}

const labels::Product* LabelDialog::Selected() const {
  const QListWidgetItem* item = productList->currentItem();
  return item && productList->currentRow() > 0 ? database_.Find(item->data(Qt::UserRole).toString()) : nullptr;
}

void LabelDialog::OnSelected() {
  const labels::Product* product = Selected();
  const QSignalBlocker quiet(firstLabelBox);
  firstLabelBox->setRange(1, product ? std::max(1, labels::LabelsPerSheet(*product)) : 1);
  firstLabelBox->setEnabled(product != nullptr);
  sheetDrawing->Show(product, firstLabelBox->value());
}

jobs::LabelChoice LabelDialog::Choice() const {
  const labels::Product* product = Selected();
  if (!product) return {};
  return {labels::FullName(*product), firstLabelBox->value(), false};
}

void SheetDrawing::Show(const labels::Product* product, int firstLabel) {
  product_ = product;
  firstLabel_ = firstLabel;
  update();
}

std::vector<QRectF> SheetDrawing::LabelBoxes() const {
  if (!product_) return {};
  const labels::Sheet sheet = labels::SheetOf(*product_);
  const QRectF room = QRectF(rect()).adjusted(4, 4, -4, -4);
  const double scale = std::min(room.width() / sheet.page.width(), room.height() / sheet.page.height());
  const QPointF origin = room.center() - QPointF(sheet.page.width(), sheet.page.height()) * scale / 2;
  std::vector<QRectF> boxes;
  boxes.push_back(QRectF(origin, sheet.page * scale));  // the page first
  for (const QRectF& label : sheet.labels) boxes.emplace_back(origin + label.topLeft() * scale, label.size() * scale);
  return boxes;
}

void SheetDrawing::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const std::vector<QRectF> boxes = LabelBoxes();
  if (boxes.empty()) {
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, QStringLiteral("Barcodes in rows\n(no labels)"));
    return;
  }
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(boxes[0], Qt::white);
  painter.setPen(QPen(Qt::darkGray, 1));
  painter.drawRect(boxes[0]);
  for (size_t i = 1; i < boxes.size(); ++i) {
    const bool first = static_cast<int>(i) == firstLabel_;
    painter.setBrush(first ? QBrush(QColor(0x30, 0x60, 0xc0)) : QBrush(Qt::NoBrush));
    painter.setPen(QPen(first ? QColor(0x30, 0x60, 0xc0) : Qt::gray, 1));
    if (product_->shape == labels::Shape::Round)
      painter.drawEllipse(boxes[i]);
    else
      painter.drawRect(boxes[i]);
  }
}

}  // namespace window
