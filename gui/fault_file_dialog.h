#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <array>

#include "app/session.h"
#include "faults/fault_file_image.h"
#include "qt_ui.h"

namespace velmar {

// "View Fault File": the session's fault file image as fourteen read-only fields and fifteen
// fault flag boxes, with Upload Faults, Clear Display, Clear Faults and Exit.
class FaultFileDialog : public QDialog {
  Q_OBJECT

 public:
  FaultFileDialog(Session& session, QtUi& ui, QWidget* parent = nullptr);
  ~FaultFileDialog() override;

  QLineEdit* field(int index) const { return fields_[index]; }
  QCheckBox* flag(int bit) const { return flags_[bit]; }

 private:
  void ShowImage();

  Session& session_;
  QtUi& ui_;
  QWidget* previousOwner_;
  std::array<QLineEdit*, FaultFileImage::kTexts> fields_{};
  std::array<QCheckBox*, FaultFileImage::kFlags> flags_{};
};

}  // namespace velmar
