#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "app/setup_report_printing.h"
#include "app/setup_transfer_commands.h"
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
  if (SaveSetupFile(context.session.setup, path, context.ui, context.clock) != FileResult::kOk) {
    return kExitFailure;
  }
  if (context.options.json) {
    PrintSetupRecord(context.session.setup, true);
  }
  return kExitOk;
}

// "backup-<serial>-<yyyymmdd-hhmmss>.cfg" in the current folder; a second backup within the
// same second gets "-2", "-3", ... so no backup ever replaces another.
std::string BackupFileName(const std::string& serialNumber) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const std::string stem = "backup-" + serialNumber + "-" + stamp;
  std::string name = stem + ".cfg";
  std::error_code error;
  for (int copy = 2; std::filesystem::exists(name, error); ++copy) {
    name = stem + "-" + std::to_string(copy) + ".cfg";
  }
  return name;
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

// Without --config or --file nothing is written: the usage error lists what the unit's firmware
// admits (every configuration when the unit does not answer).
int ListConfigurations(CliContext& context) {
  const bool connected = context.ConnectActuator() == kExitOk;
  const int status = context.UsageError("--config CUSTOMERPARTNO or --file FILE is needed");
  const int version = context.session.link.FirmwareVersion();
  if (connected) {
    std::fprintf(stderr, "Configurations for firmware %d.%02d:\n", version >> 8, version & 0xFF);
  } else {
    std::fprintf(stderr, "Configurations in the database:\n");
  }
  for (const std::string& label : context.session.configList->labels) {
    std::fprintf(stderr, "  %s\n", label.c_str());
  }
  return status;
}

// Uploads the unit's setup and saves it as the backup, naming the file first. A warning of the
// upload (a bad checksum) is shown but does not decide the exit status of the download.
int BackUp(CliContext& context) {
  Session& session = context.session;
  if (!UploadSetupCommand(session)) {
    return kExitFailure;
  }
  const std::string name = BackupFileName(session.serialNumber);
  std::printf("Saving the actuator's setup as %s\n", name.c_str());
  std::fflush(stdout);
  SetupParameters backup = session.setup;
  if (SaveSetupFile(backup, name, context.ui, context.clock) != FileResult::kOk) {
    return kExitFailure;
  }
  context.ui.ForgetFailures();
  return kExitOk;
}

int Download(CliContext& context, CommandArgs& args) {
  std::string customerPartNo;
  std::string setupPath;
  const bool chosen = args.TakeOption("--config", customerPartNo);
  context.session.verifyDownloads = !args.TakeFlag("--no-verify");
  const bool fromFile = args.TakeOption("--file", setupPath);
  const DownloadOptions options{.checkRecord = !args.TakeFlag("--force")};
  if (int status = context.CheckAllTaken(args); status != kExitOk) {
    return status;
  }
  if (chosen && fromFile) {
    return context.UsageError("--config and --file exclude each other");
  }
  // An unreadable file is refused before the unit is touched.
  SetupParameters scratch;
  if (fromFile && LoadSetupFileByName(scratch, setupPath, context.ui) != FileResult::kOk) {
    return kExitFailure;
  }
  // The list is built before connecting, so the actuator's version rebuilds it for its firmware.
  if (int status = context.OpenConfigDatabase(); status != kExitOk) {
    return status;
  }
  if (!chosen && !fromFile) {
    return ListConfigurations(context);
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
  if (int status = BackUp(context); status != kExitOk) {
    return status;
  }
  DownloadOutcome outcome;
  if (fromFile) {
    outcome = RestoreSetupCommand(session, setupPath, options);
  } else {
    session.configList->ChooseConfiguration(static_cast<std::size_t>(index), session.serialNumber);
    outcome = DownloadSetupCommand(session, options);
  }
  if (outcome.refusedByChecks) {
    std::fputs("Nothing was written; --force downloads these values anyway.\n", stderr);
  }
  if (outcome.transferResult == TransferResult::kInterrupted) {
    std::fputs(
        "Interrupted: the actuator may hold a partial setup. Download again or restore the "
        "backup.\n",
        stderr);
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
  return context.WriteOutputFile(path, report);
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
       "Uploads the actuator's setup and saves it as setup file FILE (--json: also prints it).",
       UploadToFile, true},
      {"setup download",
       "setup download --config CUSTOMERPARTNO | --file FILE [--force] [--no-verify]",
       "Backs up the actuator's setup as backup-<serial>-<yyyymmdd-hhmmss>.cfg, then downloads "
       "the approved setup of the configuration, or restores setup file FILE with the serial "
       "number it holds (a backup, for one). Without either, lists the configurations the "
       "actuator's firmware admits. A setup with values the setup pages refuse is not written "
       "without "
       "--force. After writing, reads the setup back to compare (unless --no-verify).",
       Download},
      {"setup report", "setup report [--file FILE] [--out OUT]",
       "Prints the setup report of FILE (default: the default record) with the actuator's live "
       "readings, to OUT or the standard output.",
       Report},
  };
}

}  // namespace velmar
