#pragma once

#include <QDialog>
#include <QLineEdit>
#include <array>

#include "app/session.h"
#include "faults/fault_log_browser.h"
#include "qt_ui.h"

namespace velmar {

// "Actuator Fault Log Report": the nineteen read-only fields of one fault log record and the
// buttons that step through, erase, print and save the log. Record 1 is read shortly after the
// window opens.
class FaultLogDialog : public QDialog {
  Q_OBJECT

 public:
  FaultLogDialog(Session& session, QtUi& ui, QWidget* parent = nullptr);
  ~FaultLogDialog() override;

  QLineEdit* field(int index) const { return fields_[index]; }
  const FaultLogBrowser& browser() const { return browser_; }

 private:
  void ShowTexts();

  QtUi& ui_;
  QWidget* previousOwner_;
  FaultLogBrowser browser_;
  std::array<QLineEdit*, kFaultLogFields> fields_{};
};

}  // namespace velmar
