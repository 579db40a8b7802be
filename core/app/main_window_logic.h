#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

#include "app/communication_poll.h"
#include "app/main_window_view.h"
#include "app/session.h"

namespace velmar {

// What the window does when a sequence returns: carry on, or end the dialog.
enum class WindowAction { Stay, Close };

// The main window's start-up, shutdown, port change, indicator switch and configuration choice,
// without widgets: the window shows the state kept here and forwards its events.
class MainWindowLogic {
 public:
  static constexpr const char* kPortOpenFailureText =
      "Serial port initialization failed!  Verify the port exists and that it is not\nin use by "
      "another application.";

  MainWindowLogic(Session& session, CommunicationPoll& poll, MainWindowView& view,
                  const std::filesystem::path& databasePath);

  // Dialog initialisation: the port in range, POSCMDSRC "1", the configuration list bound to
  // the database.
  void Initialise();

  // The first paint: settings, serial port, configuration list, version file, poll. Close when
  // the program has to end: a port that cannot be opened ends it at once, without saving the
  // settings; a configuration failure ends it through the shutdown.
  WindowAction StartUp();

  // Closes the port and saves the settings, once; the dialog then ends.
  WindowAction ShutDown();

  // Exit, Esc or the close box: shuts down at once when nothing runs. While an operation runs
  // (its link waits let window events in), the shutdown waits until it has ended, and the poll
  // stays stopped from now on. Close when the dialog is to end now.
  WindowAction RequestExit();

  // Runs `work` as one operation of the window (a command, a port change, a poll tick). No other
  // operation starts inside it or after the shutdown; an exit asked for meanwhile shuts down
  // once it has ended, and the result is then Close.
  WindowAction RunOperation(const std::function<void()>& work);

  // The port list closed on entry `selectionIndex`: reopens at 19200 baud on the new port. Holds
  // the poll stopped meanwhile, as ChooseConfiguration does.
  void ChangePort(int selectionIndex);

  // Asks whether the indicators are wanted and keeps the answer in OPTIONS bit 0. A command of
  // the dispatch, which holds the poll.
  void ToggleComIndicators();

  // The configuration list closed on entry `index`.
  void ChooseConfiguration(std::size_t index);

  // "Version %s" with the version file's first line.
  std::string Caption() const;

  int comPort = 1;
  int baudRate = 19200;
  std::string versionText;
  std::string programPartNumber;
  bool initialised = false;
  // The user has answered No to "Enable Com Status indicators?" since the window was created:
  // one of the conditions of the service keys.
  bool indicatorsDeclined = false;
  // Settings saved and port closed: the program is ending.
  bool shutDown = false;

 private:
  void ClampPort();

  bool operationRunning_ = false;
  bool exitRequested_ = false;

  Session& session_;
  CommunicationPoll& poll_;
  MainWindowView& view_;
  std::filesystem::path databasePath_;
};

}  // namespace velmar
