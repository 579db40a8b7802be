#include "counts_to_temperature_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "faults/conversion_input.h"

namespace velmar {

CountsToTemperatureDialog::CountsToTemperatureDialog(QWidget* parent)
    : QDialog(parent),
      counts_(new QLineEdit(this)),
      temperature_(new QLineEdit(this)),
      convert_(new QPushButton("Convert", this)) {
  setWindowTitle("Convert ADC Counts To Temperature");
  temperature_->setReadOnly(true);
  auto* cancel = new QPushButton("Cancel", this);
  convert_->setDefault(true);
  cancel->setAutoDefault(false);
  connect(convert_, &QPushButton::clicked, this, [this] {
    temperature_->setText(
        QString::fromStdString(CountsToTemperatureText(counts_->text().toStdString())));
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* form = new QFormLayout;
  form->addRow("Enter ADC Counts", counts_);
  form->addRow("Temperature (C)", temperature_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(convert_);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);
}

}  // namespace velmar
