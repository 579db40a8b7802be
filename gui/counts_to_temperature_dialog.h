#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

namespace velmar {

// "Convert ADC Counts To Temperature": thermistor counts (decimal, or hexadecimal with an "x")
// to degrees C on the mode-2 curve.
class CountsToTemperatureDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CountsToTemperatureDialog(QWidget* parent = nullptr);

  QLineEdit* counts() const { return counts_; }
  QLineEdit* temperature() const { return temperature_; }
  QPushButton* convertButton() const { return convert_; }

 private:
  QLineEdit* counts_;
  QLineEdit* temperature_;
  QPushButton* convert_;
};

}  // namespace velmar
