#pragma once

#include <QComboBox>
#include <QDialog>
#include <QMenuBar>
#include <QRadioButton>
#include <QStringList>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "app/command_dispatch.h"
#include "app/communication_poll.h"
#include "app/main_window_logic.h"
#include "app/main_window_view.h"
#include "app/session.h"
#include "qt_ui.h"
#include "setup_pages_dialog.h"

namespace velmar {

// The main window: the banner, the port selector, the two activity indicators, the
// configuration list and the menu. It shows the state of the core objects and forwards the
// user's choices to them; start-up runs once, after the first paint.
class MainDialog : public QDialog, public MainWindowView {
  Q_OBJECT

 public:
  MainDialog(Session& session, QtUi& ui, const std::filesystem::path& databasePath,
             QWidget* parent = nullptr);

  void RunSettingsWindow(SettingsMode mode) override;
  void ShowProgramInformation(const std::string& versionText,
                              const std::string& programPartNumber) override;
  void ShowAbout() override;
  bool ShowSetupPages(SetupPageValues& values) override;
  void ShowFaultLogDialog() override;
  void ShowFaultFileDialog() override;
  void RunFaultUploadStatus() override;
  void ShowStatusMonitor() override;
  void ShowDiagnosticTest() override;
  void ShowMemoryDialog() override;
  void ShowCountsToTemperature() override;
  void ShowFaultConfiguration(FaultConfigEditor& editor) override;

  // The menu entry that issues `command`, nullptr for commands without one.
  QAction* MenuAction(MainCommand command) const;

  const CommunicationPoll& poll() const { return poll_; }
  const MainWindowLogic& logic() const { return logic_; }
  QComboBox* portList() const { return portList_; }
  QComboBox* configList() const { return configList_; }
  QRadioButton* transmitIndicator() const { return transmit_; }
  QRadioButton* receiveIndicator() const { return receive_; }
  QMenu* aboutMenu() const { return aboutMenu_; }

 public slots:
  // Esc and the close box shut the program down, once any running command has ended.
  void reject() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  // The service keys typed while the About popup is open.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenu(QMenuBar* menuBar);
  QWidget* BuildControls();
  void RunStartUp();
  void RunCommand(MainCommand command);
  // Runs a port change, configuration choice or poll tick as one of the window's operations;
  // ends the dialog when an exit fell due meanwhile.
  void Operate(const std::function<void()>& work);
  void End();
  // Brings the widgets in line with the poll, the port and the configuration list.
  void ShowState();

  Session& session_;
  QtUi& ui_;
  CommunicationPoll poll_;
  MainWindowLogic logic_;
  CommandDispatch dispatch_;
  QTimer pollTimer_;
  bool startUpPosted_ = false;
  bool ended_ = false;

  QComboBox* portList_ = nullptr;
  QComboBox* configList_ = nullptr;
  QRadioButton* transmit_ = nullptr;
  QRadioButton* receive_ = nullptr;
  QMenu* aboutMenu_ = nullptr;
  QStringList shownConfigurations_;
  std::vector<std::pair<MainCommand, QAction*>> actions_;
};

}  // namespace velmar
