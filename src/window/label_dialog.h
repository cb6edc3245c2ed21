#pragma once
// "Label Sheet": the label product to print on, found by brand, part or
// description, "No labels" first; the label of the first sheet to start on;
// a drawing of the sheet with that label marked.
#include "jobs/label_run.h"
#include "labels/database.h"

#include <QDialog>

class QDialogButtonBox;
class QLineEdit;
class QListWidget;
class QSpinBox;

namespace window {

class SheetDrawing;

class LabelDialog : public QDialog {
 public:
  LabelDialog(QWidget* parent, const labels::Database& database, const jobs::LabelChoice& current);

  // The choice as the dialog holds it ("" product for no labels).
  jobs::LabelChoice Choice() const;
  // The product of the selected entry, null for "No labels".
  const labels::Product* Selected() const;

  QLineEdit* searchBox;
  QListWidget* productList;  // "No labels", then the products the search finds
  QSpinBox* firstLabelBox;
  SheetDrawing* sheetDrawing;
  QDialogButtonBox* buttons;

 private:
  void Fill(const QString& query, const QString& select);
  void OnSelected();

  const labels::Database& database_;
};

// The selected product's sheet, scaled to the widget: every label outlined,
// the first label of the run filled.
class SheetDrawing : public QWidget {
 public:
  explicit SheetDrawing(QWidget* parent) : QWidget(parent) {}
  void Show(const labels::Product* product, int firstLabel);
  // The widget's rectangles of the labels in fill order (empty for none).
  std::vector<QRectF> LabelBoxes() const;
  int FirstLabel() const { return firstLabel_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const labels::Product* product_ = nullptr;
  int firstLabel_ = 1;
};

}  // namespace window
