#include "status_plot.h"

#include <QVBoxLayout>
#include <cstdlib>

namespace velmar {

namespace {

// The plotted quantities, in series order.
constexpr StatusQuantity kPlotted[StatusPlot::kSeries] = {
    StatusQuantity::Position,   StatusQuantity::Demand,     StatusQuantity::MotorCurrent,
    StatusQuantity::MotorTemp1, StatusQuantity::MotorTemp2, StatusQuantity::MotorTemp3,
    StatusQuantity::ElecTemp};

constexpr double kTopValue = 150.0;

}  // namespace

StatusPlot::StatusPlot(QWidget* parent)
    : QWidget(parent),
      chart_(new QChart),
      timeAxis_(new QValueAxis),
      pause_(new QPushButton("Pause", this)) {
  auto* valueAxis = new QValueAxis;
  valueAxis->setRange(0, kTopValue);
  valueAxis->setTitleText("%, A, C");
  timeAxis_->setRange(-kWindowSeconds, 0);
  timeAxis_->setTitleText("s");
  chart_->addAxis(timeAxis_, Qt::AlignBottom);
  chart_->addAxis(valueAxis, Qt::AlignLeft);
  for (int index = 0; index < kSeries; ++index) {
    series_[index] = new QLineSeries;
    series_[index]->setName(QuantityName(kPlotted[index]));
    chart_->addSeries(series_[index]);
    series_[index]->attachAxis(timeAxis_);
    series_[index]->attachAxis(valueAxis);
  }
  chart_->legend()->setAlignment(Qt::AlignRight);
  chart_->setMargins(QMargins(2, 2, 2, 2));
  auto* view = new QChartView(chart_, this);
  view->setRenderHint(QPainter::Antialiasing, false);
  view->setMinimumHeight(220);
  connect(pause_, &QPushButton::clicked, this, [this] { SetPaused(!paused_); });
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view);
  layout->addWidget(pause_, 0, Qt::AlignRight);
}

void StatusPlot::Add(double seconds, const StatusDisplay& display) {
  lastSeconds_ = seconds;
  for (int index = 0; index < kSeries; ++index) {
    const double value = std::atof(display.Field(kPlotted[index]).text.c_str());
    series_[index]->append(seconds, value);
    // Points older than the window are dropped, so a long session does not grow the plot.
    while (series_[index]->count() > 0 && series_[index]->at(0).x() < seconds - kWindowSeconds) {
      series_[index]->remove(0);
    }
  }
  if (!paused_) {
    Scroll(seconds);
  }
}

void StatusPlot::SetPaused(bool paused) {
  paused_ = paused;
  pause_->setText(paused ? "Resume" : "Pause");
  if (!paused) {
    Scroll(lastSeconds_);
  }
}

void StatusPlot::Scroll(double seconds) {
  const double end = seconds < kWindowSeconds ? kWindowSeconds : seconds;
  timeAxis_->setRange(end - kWindowSeconds, end);
}

}  // namespace velmar
