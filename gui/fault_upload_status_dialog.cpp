#include "fault_upload_status_dialog.h"

#include <QLabel>
#include <QVBoxLayout>

namespace velmar {

FaultUploadStatusDialog::FaultUploadStatusDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      bar(new QProgressBar(this)) {
  setWindowTitle("Upload Faults Status");
  auto* text = new QLabel("Uploading faults from actuator...", this);
  text->setAlignment(Qt::AlignCenter);
  bar->setRange(0, 100);
  bar->setValue(animation_.position);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addWidget(bar);
  setFixedSize(320, 100);
  timer_.setInterval(FaultUploadAnimation::kIntervalMs);
  connect(&timer_, &QTimer::timeout, this, &FaultUploadStatusDialog::Tick);
}

void FaultUploadStatusDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (animation_.ticks == 0 && !timer_.isActive()) {
    timer_.start();
  }
}

void FaultUploadStatusDialog::Tick() {
  const bool done = animation_.Tick();
  bar->setValue(animation_.position);
  if (done) {
    timer_.stop();
    accept();
  }
}

}  // namespace velmar
