#include "diagnostic_test_dialog.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace velmar {

namespace {

constexpr const char* kCheckLabels[kDiagnosticChecks] = {
    "Communications",    "Setup Parameters Integrity", "Active Fault", "Voltage",
    "Motor Temperature", "Electronics Temperature",    "Fault File"};

QLineEdit* ReadOnlyEdit(QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setReadOnly(true);
  return edit;
}

}  // namespace

DiagnosticTestDialog::DiagnosticTestDialog(Session& session, QWidget* parent)
    : QDialog(parent),
      test_(session),
      serial_(ReadOnlyEdit(this)),
      model_(ReadOnlyEdit(this)),
      part_(ReadOnlyEdit(this)),
      firmware_(ReadOnlyEdit(this)),
      statusLine_(ReadOnlyEdit(this)),
      bar_(new QProgressBar(this)),
      start_(new QPushButton("Start Test", this)),
      stop_(new QPushButton("Stop Test", this)),
      print_(new QPushButton("Print", this)) {
  setWindowTitle("Actuator Identification");
  auto* tests = new QGroupBox("Tests", this);
  auto* testForm = new QFormLayout(tests);
  for (int index = 0; index < kDiagnosticChecks; ++index) {
    results_[index] = ReadOnlyEdit(tests);
    results_[index]->setFixedWidth(80);
    testForm->addRow(kCheckLabels[index], results_[index]);
  }
  auto* identity = new QGroupBox("Identification", this);
  auto* identityForm = new QFormLayout(identity);
  identityForm->addRow("Serial Number", serial_);
  identityForm->addRow("Model Number", model_);
  identityForm->addRow("Part Number", part_);
  identityForm->addRow("Firmware Version", firmware_);
  bar_->setRange(0, 100);
  bar_->setTextVisible(false);
  auto* done = new QPushButton("Done", this);
  for (QPushButton* button : {start_, stop_, print_, done}) {
    button->setAutoDefault(false);
  }
  connect(start_, &QPushButton::clicked, this, [this] {
    test_.StartTest();
    Show();
  });
  connect(stop_, &QPushButton::clicked, this, [this] {
    test_.StopTest();
    Show();
  });
  connect(print_, &QPushButton::clicked, this, [this] { test_.Print(); });
  connect(done, &QPushButton::clicked, this, &QDialog::accept);
  // The status line is shown before a check blocks the window with its exchanges.
  test_.onStatusLine = [this] {
    Show();
    statusLine_->repaint();
  };
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &DiagnosticTestDialog::Step);

  auto* columns = new QHBoxLayout;
  columns->addWidget(tests);
  columns->addWidget(identity, 1);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {start_, stop_, print_, done}) {
    buttons->addWidget(button);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addWidget(statusLine_);
  layout->addWidget(bar_);
  layout->addLayout(buttons);
  Show();
}

void DiagnosticTestDialog::Step() {
  test_.Tick();
  Show();
}

void DiagnosticTestDialog::Show() {
  for (int index = 0; index < kDiagnosticChecks; ++index) {
    results_[index]->setText(QString::fromStdString(test_.resultTexts[index]));
  }
  serial_->setText(QString::fromStdString(test_.serialNumber));
  model_->setText(QString::fromStdString(test_.modelNumber));
  part_->setText(QString::fromStdString(test_.partNumber));
  firmware_->setText(QString::fromStdString(test_.firmwareText));
  statusLine_->setText(QString::fromStdString(test_.statusLine));
  bar_->setValue(test_.bar);
  if (test_.timerRunning && !timer_.isActive()) {
    timer_.start(DiagnosticTest::kStepMs);
  } else if (!test_.timerRunning) {
    timer_.stop();
  }
}

}  // namespace velmar
