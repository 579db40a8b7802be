#include "settings_window.h"

#include <QMetaObject>

namespace velmar {

SettingsWindow::SettingsWindow(Session& session, QtUi& ui, SettingsMode mode, QWidget* parent)
    : TransferProgressDialog(parent), session_(session), ui_(ui), mode_(mode) {
  SetStatus(QString::fromStdString(session_.settings.statusText));
}

void SettingsWindow::paintEvent(QPaintEvent* event) {
  TransferProgressDialog::paintEvent(event);
  if (!started_) {
    started_ = true;
    QMetaObject::invokeMethod(this, &SettingsWindow::Run, Qt::QueuedConnection);
  }
}

void SettingsWindow::Run() {
  ui_.HostTransfer(this);
  if (mode_ == SettingsMode::Load) {
    session_.settings.Load(ui_, session_.clock);
  } else {
    session_.settings.Save(ui_, session_.clock);
  }
  ui_.HostTransfer(nullptr);
  done(QDialog::Accepted);
}

}  // namespace velmar
