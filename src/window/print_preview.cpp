#include "window/print_preview.h"

#include "platform/printers.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <cstdio>

namespace window {

PrintPreview::PrintPreview(QWidget* parent, const QString& printer, std::function<QString(platform::Printers&)> job,
                           std::function<void()> print)
    : QDialog(parent), printer_(printer), job_(std::move(job)) {
  setWindowTitle(QStringLiteral("Print Preview"));
  // A PDF device: the preview never reaches a printer by itself.
  device_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  device_->setOutputFormat(QPrinter::PdfFormat);
  device_->setResolution(platform::kDocumentResolution);
  pages = new QPrintPreviewWidget(device_.get(), this);
  pages->setViewMode(QPrintPreviewWidget::SinglePageView);
  pages->fitInView();
  countLabel = new QLabel(this);
  auto* buttons = new QDialogButtonBox(this);
  printButton = buttons->addButton(QStringLiteral("&Print"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QDialogButtonBox::Close);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(countLabel, 1);
  bottom->addWidget(buttons);
  auto* all = new QVBoxLayout(this);
  all->addWidget(pages, 1);
  all->addLayout(bottom);
  resize(QSize(720, 860).boundedTo(screen()->availableSize() * 0.95));
  connect(pages, &QPrintPreviewWidget::paintRequested, this, &PrintPreview::Paint);
  connect(pages, &QPrintPreviewWidget::previewChanged, this, &PrintPreview::ShowCount);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(printButton, &QPushButton::clicked, this, [this, print = std::move(print)] {
    accept();
    print();
  });
}

PrintPreview::~PrintPreview() = default;

int PrintPreview::PageCount() const { return pages->pageCount(); }

// The job's own painter, on the preview's device: the pages it would send.
void PrintPreview::Paint(QPrinter* device) {
  platform::Printers printers(QString{});
  printers.SelectPrinter(printer_);
  printers.SetPreviewDevice(device);
  note_ = job_(printers);
  printers.EndDoc();
}

void PrintPreview::ShowCount() {
  const int count = pages->pageCount();
  QString text = QStringLiteral("%1 page(s)").arg(count);
  if (!note_.isEmpty()) text += QStringLiteral(" - ") + note_;
  if (text == countLabel->text()) return;  // a zoom or a resize
  countLabel->setText(text);
  printButton->setEnabled(count > 0);
  if (qEnvironmentVariableIsSet("QUILLON_DEBUG"))
    std::fprintf(stderr, "quillon: preview: %s\n", text.toLocal8Bit().constData());
}

}  // namespace window
