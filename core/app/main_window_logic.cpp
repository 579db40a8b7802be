#include "app/main_window_logic.h"

#include <cstdint>

namespace velmar {

namespace {

constexpr int kPortChangeBaud = 19200;
constexpr int kPortReopenPauseMs = 100;
constexpr int kComIndicatorsBit = 0x01;

}  // namespace

MainWindowLogic::MainWindowLogic(Session& session, CommunicationPoll& poll, MainWindowView& view,
                                 const std::filesystem::path& databasePath)
    : session_(session), poll_(poll), view_(view), databasePath_(databasePath) {}

void MainWindowLogic::ClampPort() {
  if (comPort < 1 || comPort > 4) {
    comPort = 1;
  }
}

void MainWindowLogic::Initialise() {
  ClampPort();
  SetField(session_.setup.POSCMDSRC, "1");
  session_.OpenConfigDatabase(databasePath_);
}

WindowAction MainWindowLogic::StartUp() {
  view_.RunSettingsWindow(SettingsMode::Load);
  baudRate = ParseLeadingInt(session_.settings.baud);
  comPort = ParseLeadingInt(session_.settings.port);
  if (session_.link.OpenPort(comPort, baudRate) != LinkResult::kSuccess) {
    session_.ui.ShowDetailedMessage(MessageKind::Error, kPortOpenFailureText,
                                    "Communication Initialization",
                                    session_.serialPort.OpenFailure());
    return WindowAction::Close;
  }
  ClampPort();
  poll_.comIndicatorsEnabled =
      (ParseLeadingInt(session_.settings.options) & kComIndicatorsBit) != 0;

  if (!session_.configList->StartUp(versionText, programPartNumber)) {
    return ShutDown();
  }
  poll_.StartPoll(true);
  initialised = true;
  return WindowAction::Stay;
}

WindowAction MainWindowLogic::ShutDown() {
  if (!shutDown) {
    shutDown = true;
    poll_.StopForGood();
    session_.link.ClosePort();
    view_.RunSettingsWindow(SettingsMode::Save);
  }
  return WindowAction::Close;
}

WindowAction MainWindowLogic::RequestExit() {
  if (!operationRunning_) {
    return ShutDown();
  }
  exitRequested_ = true;
  poll_.StopForGood();
  return WindowAction::Stay;
}

WindowAction MainWindowLogic::RunOperation(const std::function<void()>& work) {
  if (operationRunning_ || shutDown) {
    return WindowAction::Stay;
  }
  operationRunning_ = true;
  work();
  operationRunning_ = false;
  return exitRequested_ ? ShutDown() : WindowAction::Stay;
}

void MainWindowLogic::ChangePort(int selectionIndex) {
  const int port = selectionIndex + 1;
  if (port == comPort) {
    return;
  }
  PollPause pause(poll_);
  comPort = port;
  session_.link.ClosePort();
  session_.clock.SleepMs(kPortReopenPauseMs);
  const LinkResult opened = session_.link.OpenPort(comPort, kPortChangeBaud);
  session_.settings.port = std::to_string(comPort);
  if (opened != LinkResult::kSuccess) {
    session_.ui.ShowDetailedMessage(MessageKind::Error, "Error initializing serial port!",
                                    "Communication Setup Error", session_.serialPort.OpenFailure());
  }
}

void MainWindowLogic::ToggleComIndicators() {
  const bool enable =
      session_.ui.AskYesNo("Enable Com Status indicators?", "Com Status Enable") == Answer::Yes;
  poll_.comIndicatorsEnabled = enable;
  indicatorsDeclined = indicatorsDeclined || !enable;
  int32_t options = ParseLeadingInt(session_.settings.options);
  options = enable ? (options | kComIndicatorsBit) : (options & ~kComIndicatorsBit);
  session_.settings.options = std::to_string(options & 0xFFFF);
}

void MainWindowLogic::ChooseConfiguration(std::size_t index) {
  PollPause pause(poll_);
  session_.configList->ChooseConfiguration(index, session_.serialNumber);
}

std::string MainWindowLogic::Caption() const {
  return "Version " + versionText;
}

}  // namespace velmar
