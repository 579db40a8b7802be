#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QProgressBar>

namespace velmar {

// The modeless "Program Status" window of the long fault operations: a read-only status line
// and a progress bar (0..100), driven by the operation that created it.
class ProgramStatusDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ProgramStatusDialog(QWidget* parent = nullptr);

  QLineEdit* statusEdit;
  QProgressBar* progressBar;
};

}  // namespace velmar
