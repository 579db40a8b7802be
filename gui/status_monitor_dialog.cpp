#include "status_monitor_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace velmar {

namespace {

// The scale printed beside each bar.
constexpr const char* kScales[kStatusQuantities] = {"0-25 Current (A)",
                                                    "0-100 Status (%)",
                                                    "0-100 Demand (%)",
                                                    "0-150",
                                                    "0-150",
                                                    "0-150",
                                                    "0-150",
                                                    "0-20",
                                                    "0 to -20",
                                                    "0-200"};

// A box only the monitor sets.
QCheckBox* Lamp(const QString& text, QWidget* parent) {
  auto* box = new QCheckBox(text, parent);
  box->setFocusPolicy(Qt::NoFocus);
  box->setAttribute(Qt::WA_TransparentForMouseEvents);
  return box;
}

}  // namespace

StatusMonitorDialog::StatusMonitorDialog(Session& session, QWidget* parent)
    : QDialog(parent),
      session_(session),
      monitor_(session.link, session.serialPort, session.link.Span(),
               session.link.FirmwareVersion()),
      startedMs_(session.clock.NowMs()) {
  setWindowTitle("Actuator Status");
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  top->addWidget(BuildReadings(), 1);
  top->addWidget(BuildBoxes());
  layout->addLayout(top);
  plot_ = new StatusPlot(this);
  layout->addWidget(plot_, 1);
  auto* buttons = new QHBoxLayout;
  record_ = new QPushButton("Record…", this);
  auto* exit = new QPushButton("Exit", this);
  record_->setAutoDefault(false);
  exit->setAutoDefault(false);
  connect(record_, &QPushButton::clicked, this, &StatusMonitorDialog::Record);
  connect(exit, &QPushButton::clicked, this, &StatusMonitorDialog::Exit);
  buttons->addStretch(1);
  buttons->addWidget(record_);
  buttons->addWidget(exit);
  layout->addLayout(buttons);

  monitor_.Start();
  Show();
  connect(&timer_, &QTimer::timeout, this, &StatusMonitorDialog::Tick);
  timer_.start(StatusMonitor::kTickMs);
}

StatusMonitorDialog::~StatusMonitorDialog() {
  // A window closed while recording still leaves its file complete.
  recorder_.Stop();
}

QWidget* StatusMonitorDialog::BuildReadings() {
  auto* group = new QGroupBox(this);
  auto* grid = new QGridLayout(group);
  for (int index = 0; index < kStatusQuantities; ++index) {
    edits_[index] = new QLineEdit(group);
    edits_[index]->setReadOnly(true);
    edits_[index]->setFixedWidth(64);
    edits_[index]->setAlignment(Qt::AlignRight);
    bars_[index] = new QProgressBar(group);
    bars_[index]->setRange(0, 100);
    bars_[index]->setTextVisible(false);
    bars_[index]->setMinimumWidth(160);
    grid->addWidget(new QLabel(QuantityName(static_cast<StatusQuantity>(index)), group), index, 0);
    grid->addWidget(edits_[index], index, 1);
    grid->addWidget(bars_[index], index, 2);
    grid->addWidget(new QLabel(kScales[index], group), index, 3);
  }
  return group;
}

QWidget* StatusMonitorDialog::BuildBoxes() {
  auto* column = new QWidget(this);
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* faults = new QGroupBox("Faults", column);
  auto* faultGrid = new QGridLayout(faults);
  int shown = 0;
  for (int index = 0; index < kFaultBoxes; ++index) {
    const FaultBox& box = kFaultBoxTable[index];
    faultBoxes_[index] = Lamp(box.caption, faults);
    faultBoxes_[index]->setEnabled(FaultBoxEnabled(box, monitor_.firmwareVersion()));
    faultBoxes_[index]->setVisible(!box.hidden);
    if (!box.hidden) {
      faultGrid->addWidget(faultBoxes_[index], shown % 12, shown / 12);
      ++shown;
    }
  }
  layout->addWidget(faults);
  auto* modes = new QGroupBox("Mode", column);
  auto* modeRow = new QHBoxLayout(modes);
  const char* modeNames[] = {"Run Off", "Run On", "Reset"};
  for (int mode = 0; mode < 3; ++mode) {
    modeBoxes_[mode] = Lamp(modeNames[mode], modes);
    modeRow->addWidget(modeBoxes_[mode]);
  }
  layout->addWidget(modes);
  auto* com = new QGroupBox("Com", column);
  auto* comRow = new QHBoxLayout(com);
  transmit_ = Lamp("Tx", com);
  receive_ = Lamp("Rx", com);
  comRow->addWidget(transmit_);
  comRow->addWidget(receive_);
  layout->addWidget(com);
  layout->addStretch(1);
  return column;
}

void StatusMonitorDialog::Tick() {
  if (monitor_.Tick() == StatusMonitor::TickResult::Reading) {
    const int64_t nowMs = session_.clock.NowMs() - startedMs_;
    plot_->Add(static_cast<double>(nowMs) / 1000.0, monitor_.display);
    if (recorder_.Recording() &&
        !recorder_.Add(nowMs, monitor_.display, monitor_.values.faultBits)) {
      ToggleRecording({});
    }
  }
  Show();
}

void StatusMonitorDialog::Show() {
  const StatusDisplay& display = monitor_.display;
  for (int index = 0; index < kStatusQuantities; ++index) {
    edits_[index]->setText(QString::fromStdString(display.fields[index].text));
    bars_[index]->setValue(display.fields[index].BarPosition());
  }
  for (int mode = 0; mode < 3; ++mode) {
    modeBoxes_[mode]->setChecked(display.mode == mode);
  }
  for (int index = 0; index < kFaultBoxes; ++index) {
    faultBoxes_[index]->setChecked(display.faultChecked[index]);
  }
  transmit_->setChecked(monitor_.transmit);
  receive_->setChecked(monitor_.receive);
}

void StatusMonitorDialog::Record() {
  if (recorder_.Recording()) {
    return ToggleRecording({});
  }
  const FileBoxRequest request{"csv", "status.csv",
                               "Status Recordings (*.csv)|*.CSV|All Files (*.*)|*.*||", true};
  std::string path;
  if (session_.ui.AskSaveFile(request, path)) {
    ToggleRecording(QString::fromStdString(path));
  }
}

void StatusMonitorDialog::ToggleRecording(const QString& path) {
  if (recorder_.Recording()) {
    if (!recorder_.Stop()) {
      session_.ui.ShowMessage(MessageKind::Error, "The recording could not be written.",
                              "Actuator Status");
    }
  } else if (!path.isEmpty() && !recorder_.Start(path.toStdString())) {
    session_.ui.ShowMessage(MessageKind::Error, "The recording file cannot be created.",
                            "Actuator Status");
  }
  record_->setText(recorder_.Recording() ? "Stop Recording" : "Record…");
}

void StatusMonitorDialog::Exit() {
  timer_.stop();
  session_.link.ReceiveFrame();  // the reply to the last tick's request
  accept();
}

void StatusMonitorDialog::keyPressEvent(QKeyEvent* event) {
  // Enter closes the window as its hidden OK button did, without the final receive.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    timer_.stop();
    return accept();
  }
  QDialog::keyPressEvent(event);
}

}  // namespace velmar
