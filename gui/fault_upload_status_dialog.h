#pragma once

#include <QDialog>
#include <QProgressBar>
#include <QTimer>

#include "app/fault_upload_animation.h"

namespace velmar {

// "Upload Faults Status": a half-second progress animation run modally before the fault file
// report; it closes itself with the bar at 100.
class FaultUploadStatusDialog : public QDialog {
  Q_OBJECT

 public:
  explicit FaultUploadStatusDialog(QWidget* parent = nullptr);

  QProgressBar* bar;

 protected:
  // The animation starts when the window comes up.
  void showEvent(QShowEvent* event) override;

 private:
  void Tick();

  FaultUploadAnimation animation_;
  QTimer timer_;
};

}  // namespace velmar
