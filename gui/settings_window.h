#pragma once

#include "app/main_window_view.h"
#include "app/session.h"
#include "qt_ui.h"
#include "transfer_progress_dialog.h"

namespace velmar {

// The settings load or save in its "File Transfer Progress" window: run modally, the window
// shows itself and on its first paint posts itself the load or the save, which closes it.
class SettingsWindow : public TransferProgressDialog {
  Q_OBJECT

 public:
  SettingsWindow(Session& session, QtUi& ui, SettingsMode mode, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Run();

  Session& session_;
  QtUi& ui_;
  SettingsMode mode_;
  bool started_ = false;
};

}  // namespace velmar
