#pragma once

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QString>

namespace velmar {

// The "File Transfer Progress" window: a status line centred above a progress bar (0..100).
// Operations run inside it on the GUI thread, so the user cannot close it half-way.
class TransferProgressDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TransferProgressDialog(QWidget* parent = nullptr);

  void SetStatus(const QString& status);
  void SetRange(int low, int high);
  void SetPosition(int position);

  QLabel* statusText() { return statusText_; }
  QProgressBar* progressBar() { return progressBar_; }

 public slots:
  // Esc and the close box do nothing: the operation closes the window itself.
  void reject() override {}

 private:
  QLabel* statusText_;
  QProgressBar* progressBar_;
};

}  // namespace velmar
