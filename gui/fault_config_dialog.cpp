#include "fault_config_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "conversion_window.h"
#include "qt_ui.h"

namespace velmar {

namespace {

constexpr int kEditWidth = 80;

struct BoxPlace {
  OptionBox bit;
  const char* text;
  int fault;  // the group it sits in
};

constexpr BoxPlace kBoxPlaces[] = {
    {kF1FaultEnable, "Fault Enable", 1},    {kF1OutputEnable, "Output Enable", 1},
    {kF1AutoReset, "Auto Reset", 1},        {kF1HighAlarm, "High Alarm Enable", 1},
    {kF1LowAlarm, "Low Alarm Enable", 1},   {kF2FaultEnable, "Fault Enable", 2},
    {kF2OutputEnable, "Output Enable", 2},  {kF2ShutdownEnable, "Shutdown Enable", 2},
    {kF2HighAlarm, "High Alarm Enable", 2}, {kF2LowAlarm, "Low Alarm Enable", 2},
};

}  // namespace

FaultConfigDialog::FaultConfigDialog(FaultConfigEditor& editor, QtUi& ui, QWidget* parent)
    : QDialog(parent),
      editor_(editor),
      ui_(ui),
      previousOwner_(ui.Owner()),
      typeList_(new QComboBox),
      read_(new QPushButton("Read Fault Configuration Record")),
      write_(new QPushButton("Write Fault Configuration Record")) {
  setWindowTitle("Actuator Fault Configuration");
  ui_.SetOwner(this);
  for (const FaultType& type : kFaultTypes) {
    typeList_->addItem(type.listText);
  }
  typeList_->setCurrentIndex(-1);

  auto* faults = new QHBoxLayout;
  size_t boxIndex = 0;
  for (int fault = 1; fault <= 2; ++fault) {
    auto* group = new QGroupBox(QString("Fault %1").arg(fault));
    auto* grid = new QGridLayout(group);
    const int high = fault == 1 ? kF1High : kF2High;
    const int low = fault == 1 ? kF1Low : kF2Low;
    const int persist = fault == 1 ? kPersist1 : kPersist2;
    int row = 0;
    for (const int field : {high, low}) {
      labels_[field] = new QLabel;
      edits_[field] = new QLineEdit;
      grid->addWidget(labels_[field], row, 0);
      grid->addWidget(edits_[field], row++, 1);
    }
    edits_[persist] = new QLineEdit;
    for (const int field : {high, low, persist}) {
      edits_[field]->setMinimumWidth(kEditWidth);
    }
    grid->addWidget(new QLabel("Persist Time  (Secs)"), row, 0);
    grid->addWidget(edits_[persist], row++, 1);
    for (const BoxPlace& place : kBoxPlaces) {
      if (place.fault == fault) {
        auto* box = new QCheckBox(place.text);
        boxes_[boxIndex++] = {place.bit, box};
        grid->addWidget(box, row++, 0, 1, 2);
      }
    }
    faults->addWidget(group);
  }

  auto* save = new QPushButton("Save Fault Configuration To File");
  auto* writeFile = new QPushButton("Write Fault Configuration From File");
  auto* countsToTemperature = new QPushButton("Convert Cts to Temp");
  auto* temperatureToCounts = new QPushButton("Cvrt Temp To ADC Cts");
  auto* exit = new QPushButton("Exit");
  auto* buttons = new QVBoxLayout;
  for (QPushButton* button :
       {read_, write_, save, writeFile, countsToTemperature, temperatureToCounts, exit}) {
    button->setAutoDefault(false);
    buttons->addWidget(button);
  }
  buttons->addStretch();
  // Enter reads.
  read_->setDefault(true);

  auto* typeRow = new QHBoxLayout;
  typeRow->addWidget(new QLabel("Fault Type"));
  typeRow->addWidget(typeList_, 1);
  auto* left = new QVBoxLayout;
  left->addLayout(typeRow);
  left->addLayout(faults);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(buttons);

  connect(typeList_, &QComboBox::activated, this,
          [this](int index) { Run([this, index] { editor_.CloseTypeList(index); }); });
  connect(read_, &QPushButton::clicked, this, [this] { Run([this] { editor_.Read(); }); });
  connect(write_, &QPushButton::clicked, this, [this] { Run([this] { editor_.Write(); }); });
  connect(save, &QPushButton::clicked, this,
          [this] { Run([this] { editor_.SaveToFileButton(); }); });
  connect(writeFile, &QPushButton::clicked, this,
          [this] { Run([this] { editor_.WriteFromFileButton(); }); });
  connect(countsToTemperature, &QPushButton::clicked, this,
          [this] { ConversionWindow::Run(true, this); });
  connect(temperatureToCounts, &QPushButton::clicked, this,
          [this] { ConversionWindow::Run(false, this); });
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);
  ShowFields();
}

FaultConfigDialog::~FaultConfigDialog() {
  ui_.SetOwner(previousOwner_);
}

QCheckBox* FaultConfigDialog::box(OptionBox bit) const {
  for (const auto& [boxBit, widget] : boxes_) {
    if (boxBit == bit) {
      return widget;
    }
  }
  return nullptr;
}

template <typename Operation>
void FaultConfigDialog::Run(Operation operation) {
  TakeEntries();
  operation();
  ShowFields();
}

void FaultConfigDialog::TakeEntries() {
  for (int field = 0; field < kFaultValueFields; ++field) {
    editor_.edits[field] = edits_[field]->text().toStdString();
  }
  uint16_t checked = 0;
  for (const auto& [bit, widget] : boxes_) {
    checked |= widget->isChecked() ? bit : 0;
  }
  editor_.checkedBoxes = checked;
}

void FaultConfigDialog::ShowFields() {
  if (editor_.selection != typeList_->currentIndex()) {
    typeList_->setCurrentIndex(editor_.selection);
  }
  for (int index = 0; index < FaultConfigEditor::kLabelCount; ++index) {
    labels_[index]->setText(QString::fromStdString(editor_.labels[index]));
  }
  for (int field = 0; field < kFaultValueFields; ++field) {
    edits_[field]->setText(QString::fromStdString(editor_.edits[field]));
    edits_[field]->setReadOnly(!editor_.editable[field]);
  }
  for (const auto& [bit, widget] : boxes_) {
    widget->setChecked((editor_.checkedBoxes & bit) != 0);
    widget->setEnabled((editor_.enabledBoxes & bit) != 0);
  }
}

}  // namespace velmar
