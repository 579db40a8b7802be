#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <deque>

namespace velmar::test {

// Answers the windows a command runs modally, as a user would, and records each one as a line:
// "Warning|caption|text" (also "Error", "Information", "Question"), "Dialog|title",
// "File|title|filter;filter", "Print". Questions get the queued answers, No when none is left;
// file boxes and the print dialog are cancelled, other dialogs closed with OK. Windows that run
// their own operation (the transfer windows) are left alone.
class ModalWatcher : public QObject {
  Q_OBJECT

 public:
  ModalWatcher();

  // The next window seen is also saved as <folder>/<name>.png.
  void ShootNext(const QString& folder, const QString& name);

  QStringList events;
  std::deque<QMessageBox::StandardButton> answers;

 private:
  void Check();

  QTimer timer_;
  QString shotPath_;
};

}  // namespace velmar::test
