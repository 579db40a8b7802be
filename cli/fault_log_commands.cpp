#include <cstdio>
#include <string>
#include <vector>

#include "app/command_dispatch.h"
#include "app/fault_commands.h"
#include "cli_command.h"
#include "cli_context.h"
#include "faults/fault_file_save.h"
#include "faults/fault_log_browser.h"
#include "json_writer.h"
#include "link/firmware_versions.h"

namespace velmar {

namespace {

constexpr const char* kKeepsFaultFile =
    "This actuator keeps a fault file: use velmar-cli faults file.";
constexpr const char* kKeepsFaultLog =
    "This actuator keeps a fault log: use velmar-cli faults log.";

// Connects and makes the main window command's checks.
int ConnectAndCheck(CliContext& context, MainCommand command) {
  if (int status = context.ConnectActuator(); status != kExitOk) {
    return status;
  }
  return PassChecks(context.session, CommandDispatch::ChecksOf(command)) ? kExitOk : kExitFailure;
}

// After the fault information checks: kExitOk when the actuator keeps a fault log (`log`) or a
// fault file (not `log`).
int ConnectForFaults(CliContext& context, bool log) {
  if (int status = ConnectAndCheck(context, MainCommand::FaultInformation); status != kExitOk) {
    return status;
  }
  const bool keepsLog = context.session.link.FirmwareVersion() >= kFirmware300;
  if (keepsLog != log) {
    std::fprintf(stderr, "%s\n", keepsLog ? kKeepsFaultLog : kKeepsFaultFile);
    return kExitFailure;
  }
  return kExitOk;
}

void PrintRecord(const FaultLogTexts& texts, bool first) {
  if (!first) {
    std::printf("\n");
  }
  for (int field = 0; field < kFaultLogFields; ++field) {
    std::printf("%s = %s\n", kFaultLogLabels[field], texts[field].c_str());
  }
}

void AddRecord(JsonWriter& json, int record, const FaultLogTexts& texts) {
  json.BeginObject().Field("record", static_cast<int64_t>(record)).Key("fields").BeginObject();
  for (int field = 0; field < kFaultLogFields; ++field) {
    json.Field(kFaultLogLabels[field], texts[field]);
  }
  json.EndObject().EndObject();
}

int ShowLog(CliContext& context, CommandArgs& args) {
  std::string recordText;
  std::string outPath;
  const bool oneRecord = args.TakeOption("--record", recordText);
  const bool save = args.TakeOption("--out", outPath);
  if (int status = context.CheckAllTaken(args); status != kExitOk) {
    return status;
  }
  int record = 0;
  if (oneRecord && (std::sscanf(recordText.c_str(), "%d", &record) != 1 || record < 1 ||
                    record > FaultLogRecord::kSlots || recordText != std::to_string(record))) {
    return context.UsageError("--record takes 1 to 16");
  }
  if (save && !oneRecord) {
    return context.UsageError("--out needs --record");
  }
  if (int status = ConnectForFaults(context, true); status != kExitOk) {
    return status;
  }
  Session& session = context.session;
  FaultLogBrowser browser(session.link, session.ui, session.clock);
  const int first = oneRecord ? record - 1 : 0;
  const int last = oneRecord ? record - 1 : FaultLogRecord::kSlots - 1;
  bool shown = false;
  JsonWriter json;
  json.BeginObject().Key("records").BeginArray();
  for (int slot = first; slot <= last; ++slot) {
    browser.address = static_cast<uint16_t>(FaultLogRecord::kFirstSlotAddress +
                                            slot * FaultLogRecord::kSlotBytes);
    const int result = browser.FetchLogRecord(browser.address);
    if (result == 1) {
      session.ui.ShowMessage(MessageKind::Warning, "No Communication With Actuator/QTN.",
                             "Program Error");
      return kExitFailure;
    }
    if (result == 0 && context.options.json) {
      AddRecord(json, slot + 1, browser.texts);
    } else if (result == 0) {
      PrintRecord(browser.texts, !shown);
    }
    shown = shown || result == 0;
  }
  if (context.options.json) {
    json.EndArray().EndObject().Print();
  }
  if (!shown) {
    session.ui.ShowMessage(MessageKind::Information, "No Fault Log Record Found",
                           "Fault Log Report Status");
    return kExitOk;
  }
  return save && !browser.SaveRecordTo(outPath) ? kExitFailure : kExitOk;
}

int EraseLog(CliContext& context, CommandArgs& args) {
  if (int status = context.CheckAllTaken(args); status != kExitOk) {
    return status;
  }
  if (int status = ConnectForFaults(context, true); status != kExitOk) {
    return status;
  }
  Session& session = context.session;
  return EraseFaultLog(session.link, session.ui, session.clock) ? kExitOk : kExitFailure;
}

int ShowFaultFile(CliContext& context, CommandArgs& args) {
  std::string outPath;
  const bool save = args.TakeOption("--out", outPath);
  if (int status = context.CheckAllTaken(args); status != kExitOk) {
    return status;
  }
  if (int status = ConnectForFaults(context, false); status != kExitOk) {
    return status;
  }
  Session& session = context.session;
  const UploadOutcome outcome = UploadSessionFaults(session);
  if (outcome != UploadOutcome::Uploaded && outcome != UploadOutcome::NoFaultFile) {
    return kExitFailure;
  }
  const std::vector<std::string> lines = outcome == UploadOutcome::Uploaded
                                             ? FaultFileReportLines(session.faultFile)
                                             : std::vector<std::string>{};
  if (context.options.json) {
    JsonWriter json;
    json.BeginObject().Key("report_lines").BeginArray();
    for (const std::string& line : lines) {
      json.String(line);
    }
    json.EndArray().EndObject().Print();
  } else {
    for (const std::string& line : lines) {
      std::printf("%s\n", line.c_str());
    }
  }
  if (outcome == UploadOutcome::NoFaultFile) {
    return kExitOk;
  }
  return save && !SaveFaultFileReport(session.faultFile, outPath, session.ui, session.clock)
             ? kExitFailure
             : kExitOk;
}

int PrintFaultFile(CliContext& context, CommandArgs& args) {
  if (int status = context.CheckAllTaken(args); status != kExitOk) {
    return status;
  }
  if (int status = ConnectAndCheck(context, MainCommand::FaultFileReport); status != kExitOk) {
    return status;
  }
  if (context.session.link.FirmwareVersion() >= kFirmware300) {
    std::fprintf(stderr, "%s\n", kKeepsFaultLog);
    return kExitFailure;
  }
  PrintFaultFileReport(context.session, true, nullptr);
  return kExitOk;
}

int ClearFaults(CliContext& context, CommandArgs& args) {
  if (int status = context.CheckAllTaken(args); status != kExitOk) {
    return status;
  }
  if (int status = ConnectAndCheck(context, MainCommand::ClearFaultInformation);
      status != kExitOk) {
    return status;
  }
  return ClearFaultInformation(context.session) ? kExitOk : kExitFailure;
}

}  // namespace

std::vector<CliCommand> FaultLogCommands() {
  return {
      {"faults log", "faults log [--record N] [--out FILE]",
       "Shows every record of the fault log (firmware 3.00 and later), or record N (1..16);\n"
       "--out writes record N as a fault log record report.",
       ShowLog, true},
      {"faults log erase", "faults log erase", "Erases all fault log records (--yes answers).",
       EraseLog},
      {"faults file", "faults file [--out FILE]",
       "Uploads the fault file (firmware 2.00 up to 3.00) and shows it as the fault file report;\n"
       "--out writes that report.",
       ShowFaultFile, true},
      {"faults file report", "faults file report",
       "Uploads the fault file and prints the fault file report.", PrintFaultFile},
      {"faults clear", "faults clear",
       "Clears the actuator's faults (firmware 3.00 and later: erases the fault log).",
       ClearFaults},
  };
}

}  // namespace velmar
