#pragma once

#include <QChartView>
#include <QLineSeries>
#include <QPushButton>
#include <QValueAxis>
#include <QWidget>
#include <array>

#include "monitor/status_display.h"

namespace velmar {

// The status window's plot strip: position and demand in %, motor current in A and the four
// temperatures in degrees C over the last 5 minutes, with a pause/resume button. Pausing keeps
// the picture still; readings that arrive meanwhile are kept and shown on resume.
class StatusPlot : public QWidget {
  Q_OBJECT

 public:
  static constexpr double kWindowSeconds = 300.0;
  static constexpr int kSeries = 7;

  explicit StatusPlot(QWidget* parent = nullptr);

  // A good reading at `seconds` since the window opened.
  void Add(double seconds, const StatusDisplay& display);
  bool paused() const { return paused_; }
  void SetPaused(bool paused);
  int PointCount(int series) const { return static_cast<int>(series_[series]->count()); }

 private:
  void Scroll(double seconds);

  QChart* chart_;
  QValueAxis* timeAxis_;
  std::array<QLineSeries*, kSeries> series_{};
  QPushButton* pause_;
  bool paused_ = false;
  double lastSeconds_ = 0;
};

}  // namespace velmar
