#include "fault_log_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "action_buttons.h"

namespace velmar {

namespace {

constexpr int kFieldsPerColumn = 10;

}  // namespace

FaultLogDialog::FaultLogDialog(Session& session, QtUi& ui, QWidget* parent)
    : QDialog(parent),
      ui_(ui),
      previousOwner_(parent),
      browser_(session.link, session.ui, session.clock) {
  setWindowTitle("Actuator Fault Log Report");
  ui_.SetOwner(this);
  auto* grid = new QGridLayout;
  for (int index = 0; index < kFaultLogFields; ++index) {
    fields_[index] = new QLineEdit(this);
    fields_[index]->setReadOnly(true);
    const int column = 2 * (index / kFieldsPerColumn);
    grid->addWidget(new QLabel(kFaultLogLabels[index], this), index % kFieldsPerColumn, column);
    grid->addWidget(fields_[index], index % kFieldsPerColumn, column + 1);
  }
  QHBoxLayout* buttons = ActionButtonRow(this,
                                         {
                                             {"Prev Record", [this] { browser_.Prev(); }},
                                             {"Next Record", [this] { browser_.Next(); }},
                                             {"Erase Fault Log", [this] { browser_.Erase(); }},
                                             {"Print Record", [this] { browser_.Print(); }},
                                             {"Save Record", [this] { browser_.SaveRecord(); }},
                                             {"Exit", [this] { accept(); }},
                                         },
                                         [this] { ShowTexts(); });
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
  QTimer::singleShot(FaultLogBrowser::kOpeningDelayMs, this, [this] {
    browser_.Prev();
    ShowTexts();
  });
}

FaultLogDialog::~FaultLogDialog() {
  ui_.SetOwner(previousOwner_);
}

void FaultLogDialog::ShowTexts() {
  for (int index = 0; index < kFaultLogFields; ++index) {
    fields_[index]->setText(QString::fromStdString(browser_.texts[index]));
  }
}

}  // namespace velmar
