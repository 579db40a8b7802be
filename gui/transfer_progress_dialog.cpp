#include "transfer_progress_dialog.h"

#include <QVBoxLayout>

namespace velmar {

TransferProgressDialog::TransferProgressDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      statusText_(new QLabel(this)),
      progressBar_(new QProgressBar(this)) {
  setWindowTitle("File Transfer Progress");
  statusText_->setAlignment(Qt::AlignCenter);
  progressBar_->setRange(0, 100);
  progressBar_->setValue(0);
  progressBar_->setTextVisible(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(statusText_);
  layout->addWidget(progressBar_);
  setFixedSize(300, 80);
}

void TransferProgressDialog::SetStatus(const QString& status) {
  statusText_->setText(status);
}

void TransferProgressDialog::SetRange(int low, int high) {
  progressBar_->setRange(low, high);
}

void TransferProgressDialog::SetPosition(int position) {
  progressBar_->setValue(position);
}

}  // namespace velmar
