#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <string>

namespace velmar {

// One of the two small conversion windows: an entry field, a result field, "Convert" and
// "Cancel". Both fields start empty; `convert` turns the entry into the result text.
class ConversionWindow : public QDialog {
  Q_OBJECT

 public:
  using Converter = std::string (*)(const std::string&);

  ConversionWindow(const QString& title, const QString& entryLabel, const QString& resultLabel,
                   Converter convert, QWidget* parent = nullptr);

  // Runs "Convert ADC Counts To Temperature" or "Convert Temperature to ADC Counts" modally.
  static void Run(bool countsToTemperature, QWidget* parent);

  QLineEdit* entry() const { return entry_; }
  QLineEdit* result() const { return result_; }
  QPushButton* convertButton() const { return convert_; }

 private:
  QLineEdit* entry_;
  QLineEdit* result_;
  QPushButton* convert_;
};

}  // namespace velmar
