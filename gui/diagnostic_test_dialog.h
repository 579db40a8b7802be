#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <array>

#include "app/diagnostic_test.h"

namespace velmar {

// "Actuator Identification": the diagnostic test's seven results, the actuator's identification,
// the status line and the progress bar, with Start Test, Stop Test, Print and Done.
class DiagnosticTestDialog : public QDialog {
  Q_OBJECT

 public:
  explicit DiagnosticTestDialog(Session& session, QWidget* parent = nullptr);

  const DiagnosticTest& test() const { return test_; }
  QLineEdit* resultEdit(DiagnosticCheck check) const { return results_[static_cast<int>(check)]; }
  QLineEdit* statusLine() const { return statusLine_; }
  QPushButton* startButton() const { return start_; }
  QPushButton* stopButton() const { return stop_; }
  QPushButton* printButton() const { return print_; }

  // One step of the one-shot timer.
  void Step();

 private:
  void Show();

  DiagnosticTest test_;
  QTimer timer_;
  std::array<QLineEdit*, kDiagnosticChecks> results_{};
  QLineEdit* serial_;
  QLineEdit* model_;
  QLineEdit* part_;
  QLineEdit* firmware_;
  QLineEdit* statusLine_;
  QProgressBar* bar_;
  QPushButton* start_;
  QPushButton* stop_;
  QPushButton* print_;
};

}  // namespace velmar
