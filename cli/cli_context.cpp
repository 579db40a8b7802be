#include "cli_context.h"

#include <unistd.h>

#include <cstdio>
#include <system_error>

#include "app/main_window_logic.h"
#include "app/pre_checks.h"
#include "base/file_error_detail.h"
#include "base/replacing_file.h"
#include "configdb/config_db_location.h"

namespace velmar {

CliContext::CliContext(const CliOptions& cliOptions)
    // Under --json stdout carries the document alone; the information lines go to stderr.
    : options(cliOptions),
      ui(cliOptions.json ? stderr : stdout, stderr, stdin),
      clock(steadyClock, countedDriver, !isatty(STDOUT_FILENO)),
      session(countedDriver, clock, ui) {
  ui.SetAnswerYes(options.yes);
  ui.SetQuiet(options.quiet);
  session.serviceMode = options.service;
  session.link.SetCancellation(&interrupt);
  if (!options.device.empty()) {
    driver.SetDeviceOverride(options.device);
  }
}

int CliContext::ConnectActuator() {
  if (session.link.OpenPort(options.port, options.baud) != LinkResult::kSuccess) {
    ui.ShowDetailedMessage(MessageKind::Error, MainWindowLogic::kPortOpenFailureText,
                           "Communication Initialization", session.serialPort.OpenFailure());
    return kExitPortFailure;
  }
  return ForcedVersionCheck(session) ? kExitOk : kExitFailure;
}

std::filesystem::path CliContext::ConfigDatabasePath() const {
  std::error_code error;
  return LocateConfigDatabase(options.db,
                              StandardConfigDatabaseFolders(std::filesystem::current_path(error)));
}

std::string CliContext::ConfigDatabaseDetail() const {
  std::error_code error;
  return velmar::ConfigDatabaseDetail(
      ConfigDatabasePath(), StandardConfigDatabaseFolders(std::filesystem::current_path(error)));
}

int CliContext::OpenConfigDatabase() {
  session.OpenConfigDatabase(ConfigDatabasePath());
  if (session.configList->InitConfigList() != 0) {
    session.configList->WarnIfDamaged();
    ui.ShowDetailedMessage(MessageKind::Warning, ConfigurationList::kConfigListErrorText,
                           "Program Error", ConfigDatabaseDetail());
    return kExitFailure;
  }
  return kExitOk;
}

int CliContext::WriteOutputFile(const std::string& path, std::string_view bytes) {
  ReplacingFile file;
  if (file.Open(path) && file.Write(bytes) && file.Commit()) {
    return kExitOk;
  }
  std::fprintf(stderr, "velmar-cli %s: cannot write %s\n%s\n", command->name.c_str(), path.c_str(),
               FileErrorDetail(path, file.Error()).c_str());
  return kExitFailure;
}

int CliContext::UsageError(const std::string& problem) {
  std::fprintf(stderr, "velmar-cli %s: %s\nUsage: velmar-cli [options] %s\n", command->name.c_str(),
               problem.c_str(), command->synopsis.c_str());
  return kExitUsage;
}

int CliContext::CheckAllTaken(const CommandArgs& args) {
  if (args.MissingValue()) {
    return UsageError("an option lacks its value");
  }
  std::string leftover = args.Leftover();
  return leftover.empty() ? kExitOk : UsageError("unexpected argument '" + leftover + "'");
}

int CliContext::TakeLastArgument(CommandArgs& args, const std::string& name, std::string& value) {
  if (!args.TakePositional(value)) {
    return UsageError(name + " is missing");
  }
  return CheckAllTaken(args);
}

}  // namespace velmar
