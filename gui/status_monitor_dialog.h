#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <array>
#include <vector>

#include "app/session.h"
#include "monitor/status_monitor.h"
#include "monitor/status_recorder.h"
#include "status_plot.h"

namespace velmar {

// "Actuator Status": the live state of the actuator, refreshed by the status monitor's 750 ms
// ticks, with the plot strip and the "Record…" button that writes every good reading to CSV.
class StatusMonitorDialog : public QDialog {
  Q_OBJECT

 public:
  // Opened once the opening sequence has read the span into the session's link.
  StatusMonitorDialog(Session& session, QWidget* parent = nullptr);
  ~StatusMonitorDialog() override;

  const StatusMonitor& monitor() const { return monitor_; }
  QLineEdit* edit(StatusQuantity quantity) const { return edits_[static_cast<int>(quantity)]; }
  QProgressBar* bar(StatusQuantity quantity) const { return bars_[static_cast<int>(quantity)]; }
  QCheckBox* faultBox(int index) const { return faultBoxes_[index]; }
  QCheckBox* transmitLamp() const { return transmit_; }
  QCheckBox* receiveLamp() const { return receive_; }
  StatusPlot* plot() const { return plot_; }
  QPushButton* recordButton() const { return record_; }

  // One tick of the 750 ms timer: the monitor's tick, then the display.
  void Tick();
  // Stops a recording, or starts one to `path` (the "Record…" button's file box chose it).
  void ToggleRecording(const QString& path);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QWidget* BuildReadings();
  QWidget* BuildBoxes();
  void Exit();
  void Record();
  void Show();

  Session& session_;
  StatusMonitor monitor_;
  StatusRecorder recorder_;
  QTimer timer_;
  qint64 startedMs_;
  std::array<QLineEdit*, kStatusQuantities> edits_{};
  std::array<QProgressBar*, kStatusQuantities> bars_{};
  std::array<QCheckBox*, kFaultBoxes> faultBoxes_{};
  std::array<QCheckBox*, 3> modeBoxes_{};
  QCheckBox* transmit_ = nullptr;
  QCheckBox* receive_ = nullptr;
  StatusPlot* plot_ = nullptr;
  QPushButton* record_ = nullptr;
};

}  // namespace velmar
