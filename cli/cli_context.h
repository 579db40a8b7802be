#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "app/session.h"
#include "cli_command.h"
#include "console_ui.h"
#include "display_pause_clock.h"
#include "interrupt_signal.h"
#include "ports/posix_serial_driver.h"
#include "ports/steady_clock.h"

namespace velmar {

// The options given before the command.
struct CliOptions {
  std::string device;  // overrides the port's device
  int port = 1;
  int baud = 19200;
  bool yes = false;
  bool service = false;
  bool quiet = false;  // no progress bars
  std::string db;      // overrides where config.db is found
  std::string trace;   // frame trace file, else $VELMAR_TRACE
  bool json = false;   // the command's result as one JSON document on stdout
};

// What a command runs with: the console, the real clock and serial driver, and the session. The
// session's clock skips the pauses that only pace a display when stdout is not a terminal.
class CliContext {
 public:
  explicit CliContext(const CliOptions& options);

  // Opens the serial port and learns the actuator's frame mode and firmware version, as the
  // desktop tool's poll would have done. kExitOk, or the exit status to end with.
  int ConnectActuator();

  // --db, else "config.db" from the standard folders; empty when there is none.
  std::filesystem::path ConfigDatabasePath() const;
  // Where that database was looked for, or which file it is and why it cannot be read.
  std::string ConfigDatabaseDetail() const;
  // Binds the session's configuration list to that database and builds it as the desktop tool's
  // start-up does. kExitOk, or kExitFailure after the start-up warning.
  int OpenConfigDatabase();

  // Writes `bytes` to `path` through the replacing writer. kExitOk, or kExitFailure after
  // naming the file and the system's reason on stderr.
  int WriteOutputFile(const std::string& path, std::string_view bytes);

  // Prints the problem and the running command's synopsis; returns kExitUsage.
  int UsageError(const std::string& problem);
  // kExitOk when every word was taken, else a usage error naming the first leftover.
  int CheckAllTaken(const CommandArgs& args);
  // Takes the last positional argument, named `name` in messages, then checks nothing else is
  // left. kExitOk, or the usage error status.
  int TakeLastArgument(CommandArgs& args, const std::string& name, std::string& value);

  // The command being run.
  const CliCommand* command = nullptr;

  CliOptions options;
  ConsoleUi ui;
  InterruptSignal interrupt;
  SteadyClock steadyClock;
  PosixSerialDriver driver;
  CountingSerialDriver countedDriver{driver};
  DisplayPauseClock clock;
  Session session;
};

}  // namespace velmar
