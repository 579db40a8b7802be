#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>

#include "app/setup_report_printing.h"
#include "app/setup_transfer_commands.h"
#include "base/replacing_file.h"
#include "cli_command.h"
#include "cli_context.h"
#include "setup/setup_file.h"

namespace velmar {

namespace {

int UploadToFile(CliContext& context, CommandArgs& args) {
  std::string path;
  if (!args.TakeOption("--out", path)) {
    return context.UsageError("--out FILE is missing");
  }
  if (int status = context.CheckAllTaken(args); status != kExitOk) {
    return status;
  }
  if (int status = context.ConnectActuator(); status != kExitOk) {
    return status;
  }
  if (!UploadSetupCommand(context.session)) {
    return kExitFailure;
  }
  return SaveSetupFile(context.session.setup, path, context.ui, context.clock) == FileResult::kOk
             ? kExitOk
             : kExitFailure;
}

// "backup-<serial>-<yyyymmdd-hhmmss>.cfg" in the current folder.
std::string BackupFileName(const std::string& serialNumber) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  return "backup-" + serialNumber + "-" + stamp + ".cfg";
}

// Index of the configuration list entry for `customerPartNo`, or -1.
int FindConfiguration(const ConfigurationList& list, std::string_view customerPartNo) {
  for (std::size_t index = 0; index < list.labels.size(); ++index) {
    const std::string& label = list.labels[index];
    if (label.compare(0, label.find(' '), customerPartNo) == 0) {
      return static_cast<int>(index);
    }
  }
  return -1;
}

int DownloadFromDatabase(CliContext& context, CommandArgs& args) {
  std::string customerPartNo;
  const bool chosen = args.TakeOption("--config", customerPartNo);
  const DownloadOptions options{.checkRecord = !args.TakeFlag("--force")};
  if (int status = context.CheckAllTaken(args); status != kExitOk) {
    return status;
  }
  // The list is built before connecting, so the actuator's version rebuilds it for its firmware.
  if (int status = context.OpenConfigDatabase(); status != kExitOk) {
    return status;
  }
  if (int status = context.ConnectActuator(); status != kExitOk) {
    return status;
  }
  Session& session = context.session;
  const int index = chosen ? FindConfiguration(*session.configList, customerPartNo) : -1;
  if (chosen && index < 0) {
    const int version = session.link.FirmwareVersion();
    std::fprintf(stderr,
                 "velmar-cli setup download: configuration %s is not offered for firmware "
                 "%d.%02d\n",
                 customerPartNo.c_str(), version >> 8, version & 0xFF);
    return kExitFailure;
  }
  if (!UploadSetupCommand(session)) {
    return kExitFailure;
  }
  SetupParameters backup = session.setup;
  if (SaveSetupFile(backup, BackupFileName(session.serialNumber), context.ui, context.clock) !=
      FileResult::kOk) {
    return kExitFailure;
  }
  if (chosen) {
    session.configList->ChooseConfiguration(static_cast<std::size_t>(index), session.serialNumber);
  }
  const DownloadOutcome outcome = DownloadSetupCommand(session, options);
  if (outcome.refusedByChecks) {
    std::fputs("Nothing was written; --force downloads these values anyway.\n", stderr);
  }
  return outcome.downloaded ? kExitOk : kExitFailure;
}

// Prints the report into memory, then writes it to `path` whole or not at all.
int ReportToFile(CliContext& context, const std::string& path) {
  char* text = nullptr;
  std::size_t length = 0;
  std::FILE* memory = open_memstream(&text, &length);
  if (memory == nullptr) {
    std::perror("velmar-cli setup report");
    return kExitFailure;
  }
  context.ui.SetPrintTarget(memory);
  const bool printed = PrintSetupReport(context.session);
  context.ui.SetPrintTarget(nullptr);
  std::fclose(memory);
  const std::string report(text, length);
  std::free(text);
  if (!printed) {
    return kExitFailure;
  }
  ReplacingFile file;
  if (!file.Open(path) || !file.Write(report) || !file.Commit()) {
    std::fprintf(stderr, "velmar-cli setup report: cannot write %s\n", path.c_str());
    return kExitFailure;
  }
  return kExitOk;
}

int Report(CliContext& context, CommandArgs& args) {
  std::string setupPath;
  std::string outPath;
  const bool fromFile = args.TakeOption("--file", setupPath);
  const bool toFile = args.TakeOption("--out", outPath);
  if (int status = context.CheckAllTaken(args); status != kExitOk) {
    return status;
  }
  if (fromFile) {
    if (int status = LoadSetupFileArgument(context, context.session.setup, setupPath);
        status != kExitOk) {
      return status;
    }
  }
  if (int status = context.ConnectActuator(); status != kExitOk) {
    return status;
  }
  if (toFile) {
    return ReportToFile(context, outPath);
  }
  return PrintSetupReport(context.session) ? kExitOk : kExitFailure;
}

}  // namespace

std::vector<CliCommand> SetupTransferCommands() {
  return {
      {"setup upload", "setup upload --out FILE",
       "Uploads the actuator's setup and saves it as setup file FILE.", UploadToFile},
      {"setup download", "setup download [--config CUSTOMERPARTNO] [--force]",
       "Backs up the actuator's setup as backup-<serial>-<yyyymmdd-hhmmss>.cfg, then downloads "
       "the approved setup of the configuration (default: the first for the actuator's "
       "firmware). A setup with values the setup pages refuse is not written without --force.",
       DownloadFromDatabase},
      {"setup report", "setup report [--file FILE] [--out OUT]",
       "Prints the setup report of FILE (default: the default record) with the actuator's live "
       "readings, to OUT or the standard output.",
       Report},
  };
}

}  // namespace velmar
