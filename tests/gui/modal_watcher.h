#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace velmar::test {

// Answers the windows a command runs modally, as a user would, and records each one as a line:
// "Warning|caption|text" (also "Error", "Information", "Question"), "Dialog|title",
// "File|title|filter;filter", "Print". Questions are answered No, file boxes and the print dialog
// cancelled, other dialogs closed with OK. Windows that run their own operation (the transfer
// windows) are left alone.
class ModalWatcher : public QObject {
  Q_OBJECT

 public:
  ModalWatcher();

  // The next window seen is also saved as <folder>/<name>.png.
  void ShootNext(const QString& folder, const QString& name);

  QStringList events;

 private:
  void Check();

  QTimer timer_;
  QString shotPath_;
};

}  // namespace velmar::test
