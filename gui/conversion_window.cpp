#include "conversion_window.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "faults/conversion_windows.h"

namespace velmar {

ConversionWindow::ConversionWindow(const QString& title, const QString& entryLabel,
                                   const QString& resultLabel, Converter convert, QWidget* parent)
    : QDialog(parent),
      entry_(new QLineEdit),
      result_(new QLineEdit),
      convert_(new QPushButton("Convert")) {
  setWindowTitle(title);
  result_->setReadOnly(true);
  auto* fields = new QFormLayout;
  fields->addRow(entryLabel, entry_);
  fields->addRow(resultLabel, result_);
  auto* cancel = new QPushButton("Cancel");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(convert_);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  convert_->setDefault(true);
  connect(convert_, &QPushButton::clicked, this, [this, convert] {
    result_->setText(QString::fromStdString(convert(entry_->text().toStdString())));
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ConversionWindow::Run(bool countsToTemperature, QWidget* parent) {
  ConversionWindow window(
      countsToTemperature ? "Convert ADC Counts To Temperature"
                          : "Convert Temperature to ADC Counts",
      countsToTemperature ? "Enter ADC Counts" : "Enter Temperature (C)",
      countsToTemperature ? "Temperature (C)" : "ADC Counts",
      countsToTemperature ? ConvertCountsToTemperatureText : ConvertTemperatureToCountsText,
      parent);
  window.exec();
}

}  // namespace velmar
