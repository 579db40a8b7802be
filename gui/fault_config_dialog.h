#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>

#include "faults/fault_config_editor.h"

namespace velmar {

class QtUi;

// The "Actuator Fault Configuration" dialog over the core FaultConfigEditor: the widgets show
// the editor's fields and hand the user's entries back to it before every operation. Enter reads
// the record.
class FaultConfigDialog : public QDialog {
  Q_OBJECT

 public:
  FaultConfigDialog(FaultConfigEditor& editor, QtUi& ui, QWidget* parent = nullptr);
  ~FaultConfigDialog() override;

  QComboBox* typeList() const { return typeList_; }
  QLineEdit* edit(int field) const { return edits_[field]; }
  QLabel* label(int index) const { return labels_[index]; }
  // The box standing for an OptionBox bit.
  QCheckBox* box(OptionBox bit) const;
  QPushButton* readButton() const { return read_; }
  QPushButton* writeButton() const { return write_; }

 private:
  // Runs an editor operation between taking the entries and showing the result.
  template <typename Operation>
  void Run(Operation operation);
  void TakeEntries();
  void ShowFields();

  FaultConfigEditor& editor_;
  QtUi& ui_;
  QWidget* previousOwner_;
  QComboBox* typeList_;
  std::array<QLineEdit*, kFaultValueFields> edits_{};
  std::array<QLabel*, FaultConfigEditor::kLabelCount> labels_{};
  std::array<std::pair<OptionBox, QCheckBox*>, 10> boxes_{};
  QPushButton* read_;
  QPushButton* write_;
};

}  // namespace velmar
