#pragma once
// "Print Preview": the pages a job would send, painted by the job itself on
// a preview device instead of the printer, with their count. "Print" closes
// the preview and runs the job for real, through the same printers.
#include <QDialog>

#include <functional>
#include <memory>

class QLabel;
class QPrinter;
class QPrintPreviewWidget;
class QPushButton;

namespace platform {
class Printers;
}

namespace window {

class PrintPreview : public QDialog {
 public:
  // job paints the document on the printers it is given (their current
  // printer is printer) and says why there is nothing to see, or what to
  // note ("" for nothing); print sends it.
  PrintPreview(QWidget* parent, const QString& printer, std::function<QString(platform::Printers&)> job,
               std::function<void()> print);
  ~PrintPreview() override;

  int PageCount() const;
  QPrintPreviewWidget* pages;
  QLabel* countLabel;
  QPushButton* printButton;

 private:
  void Paint(QPrinter* device);
  void ShowCount();

  std::unique_ptr<QPrinter> device_;
  QString printer_;
  QString note_;
  std::function<QString(platform::Printers&)> job_;
};

}  // namespace window
