#include "app/command_dispatch.h"

#include <cstdio>

#include "app/fault_commands.h"
#include "app/fault_config_command.h"
#include "app/hour_meters.h"
#include "app/monitor_commands.h"
#include "app/setup_report_printing.h"
#include "app/setup_transfer_commands.h"
#include "faults/fault_file_save.h"
#include "link/firmware_versions.h"
#include "setup/setup_file.h"

namespace velmar {

namespace {

const char* const kSetupFileFilter = "Actuator Setup Files (*.cfg)|*.CFG|All Files (*.*)|*.*||";

}  // namespace

using enum VersionCheck;

const CommandDispatch::Row CommandDispatch::kRows[] = {
    {MainCommand::SetupPages, {}, &CommandDispatch::ShowSetupPages},
    {MainCommand::DownloadSetup, {}, &CommandDispatch::DownloadSetup},
    {MainCommand::UploadSetup, {}, &CommandDispatch::UploadSetup},
    {MainCommand::StatusMonitor,
     {.drainReplyFirst = true,
      .version = kIfUnread,
      .minimumFirmware = kFirmware200,
      .belowMinimum = "Real time status monitoring requires v2.0 or later firmware."},
     &CommandDispatch::StatusMonitor},
    {MainCommand::IdentificationCheck,
     {.version = kIfUnread,
      .reset = ResetCommand::IdentificationCheck,
      .resetCheckFrom = kFirmware200},
     &CommandDispatch::ShowDiagnosticTest},
    {MainCommand::FaultInformation,
     {.version = kForced,
      .minimumFirmware = kFirmware200,
      .belowMinimum =
          "Firmware versions prior to v2.00 are not compatible with this version of Velmar.",
      .reset = ResetCommand::UploadFaults},
     &CommandDispatch::FaultInformation},
    {MainCommand::LoadSetupFile, {}, &CommandDispatch::LoadSetupFile},
    {MainCommand::SaveSetupFile, {}, &CommandDispatch::SaveSetupFile},
    // The download's own checks come first inside the command.
    {MainCommand::RestoreSetupFile, {}, &CommandDispatch::RestoreSetupFile},
    {MainCommand::SaveFaultFile, {.version = kForced}, &CommandDispatch::SaveFaultFile},
    {MainCommand::PrintSetupReport, {}, &CommandDispatch::PrintSetupReport},
    {MainCommand::FaultFileReport, {.version = kForced}, &CommandDispatch::FaultFileReport},
    {MainCommand::ClearFaultInformation,
     {.version = kIfUnread, .reset = ResetCommand::ClearFaults},
     &CommandDispatch::ClearFaultInformation},
    {MainCommand::ComIndicators, {}, &CommandDispatch::ToggleComIndicators},
    {MainCommand::FirmwareVersion, {}, &CommandDispatch::ShowFirmwareVersion},
    {MainCommand::ProgramInformation, {}, &CommandDispatch::ShowProgramInformation},
    {MainCommand::Help, {}, &CommandDispatch::Nothing},  // the program has no help content
    // The hour meters make their own checks, shared with velmar-cli.
    {MainCommand::RunTimeHours, {}, &CommandDispatch::ShowRunHours},
    {MainCommand::PoweredHours, {}, &CommandDispatch::ShowPoweredHours},
    {MainCommand::FaultConfiguration,
     {.version = kForced,
      .minimumFirmware = kFirmware206,
      .belowMinimum = "Configurable faults not supported by this firmware version."},
     &CommandDispatch::FaultConfiguration},
    // The reset makes its own checks, shared with velmar-cli.
    {MainCommand::ResetRunHours,
     {.serviceOnly = true, .serviceRefusalCaption = "Reset Run Hours Status"},
     &CommandDispatch::ResetRunHours},
    {MainCommand::MemoryReadWrite,
     {.serviceOnly = true, .serviceRefusalCaption = "Program Status"},
     &CommandDispatch::ShowMemoryDialog},
    {MainCommand::MemoryButton, {.serviceOnly = true}, &CommandDispatch::ShowMemoryDialog},
    {MainCommand::UnitSerialNumber, {.version = kForced}, &CommandDispatch::UnitSerialNumber},
    {MainCommand::About, {}, &CommandDispatch::ShowAbout},
};

const CommandDispatch::Row& CommandDispatch::RowOf(MainCommand command) {
  for (const Row& row : kRows) {
    if (row.command == command) {
      return row;
    }
  }
  static const Row kExit{MainCommand::Exit, {}, &CommandDispatch::Nothing};
  return kExit;
}

const CommandChecks& CommandDispatch::ChecksOf(MainCommand command) {
  return RowOf(command).checks;
}

WindowAction CommandDispatch::Dispatch(MainCommand command) {
  // Exit stops the poll for good.
  if (command == MainCommand::Exit) {
    return window_.RequestExit();
  }
  return window_.RunOperation([this, command] {
    PollPause pause(poll_);
    Run(command);
  });
}

void CommandDispatch::Run(MainCommand command) {
  const Row& row = RowOf(command);
  if (PassChecks(session_, row.checks)) {
    (this->*row.handler)();
  }
}

void CommandDispatch::SetupPages(bool afterUpload) {
  SetupPageValues& pages = session_.pages;
  pages.FillPages(session_.setup);
  // Firmware before 3.10 has no seating and loss values: the pages offer their defaults.
  if (afterUpload && session_.link.FirmwareVersion() < kFirmware310) {
    pages.SEATINGFORCE = "1000";
    pages.SEATFORCETIME = "1000";
    pages.RUNLOSSVEL = "2.0";
    pages.DMDLOSSVEL = "2.0";
  }
  if (view_.ShowSetupPages(pages)) {
    pages.ApplyPages(session_.setup);
  }
}

void CommandDispatch::UploadSetup() {
  if (UploadSetupCommand(session_)) {
    SetupPages(true);
  }
}

void CommandDispatch::DownloadSetup() {
  DownloadSetupCommand(session_);
}

void CommandDispatch::StatusMonitor() {
  if (ReadStatusMonitorLimits(session_)) {
    view_.ShowStatusMonitor();
  }
}

void CommandDispatch::ShowDiagnosticTest() {
  view_.ShowDiagnosticTest();
}

void CommandDispatch::ResetRunHours() {
  ResetRunHoursCommand(session_);
}

void CommandDispatch::ShowMemoryDialog() {
  view_.ShowMemoryDialog();
}

bool CommandDispatch::ServiceKey(char key) {
  if (!session_.serviceMode || !window_.indicatorsDeclined) {
    return false;
  }
  switch (key) {
    case '!':
      Dispatch(MainCommand::ResetRunHours);
      return true;
    case '^':
      view_.ShowCountsToTemperature();
      return true;
    case '>':
      Dispatch(MainCommand::MemoryReadWrite);
      return true;
    default:
      return false;
  }
}

void CommandDispatch::LoadSetupFile() {
  const FileBoxRequest request{"CFG", "*.CFG", kSetupFileFilter, false};
  std::string path;
  if (!session_.ui.AskOpenFile(request, path)) {
    return;
  }
  velmar::LoadSetupFile(session_.setup, path, session_.ui, session_.clock);
  session_.configList->UpdateOrvikPartNo();
}

void CommandDispatch::SaveSetupFile() {
  const FileBoxRequest request{"CFG", "Velmar.cfg", kSetupFileFilter, true};
  std::string path;
  if (session_.ui.AskSaveFile(request, path)) {
    velmar::SaveSetupFile(session_.setup, path, session_.ui, session_.clock);
  }
}

void CommandDispatch::RestoreSetupFile() {
  const FileBoxRequest request{"CFG", "*.CFG", kSetupFileFilter, false};
  std::string path;
  if (session_.ui.AskOpenFile(request, path)) {
    RestoreSetupCommand(session_, path);
  }
}

void CommandDispatch::SaveFaultFile() {
  // From firmware 3.00 the fault log takes the fault file's place.
  if (session_.link.FirmwareVersion() >= kFirmware300) {
    return Run(MainCommand::FaultInformation);
  }
  const FileBoxRequest request{"RPT", "Faults.rpt",
                               "Actuator Fault Files (*.rpt)|*.RPT|All Files (*.*)|*.*||", true};
  std::string path;
  if (session_.ui.AskSaveFile(request, path)) {
    SaveFaultFileReport(session_.faultFile, path, session_.ui, session_.clock);
  }
}

void CommandDispatch::FaultFileReport() {
  if (session_.link.FirmwareVersion() >= kFirmware300) {
    return Run(MainCommand::FaultInformation);
  }
  PrintFaultFileReport(session_, ReportUploadsFirst(session_),
                       [this] { view_.RunFaultUploadStatus(); });
}

void CommandDispatch::FaultInformation() {
  if (session_.link.FirmwareVersion() >= kFirmware300) {
    view_.ShowFaultLogDialog();
  } else {
    view_.ShowFaultFileDialog();
  }
}

void CommandDispatch::ClearFaultInformation() {
  velmar::ClearFaultInformation(session_);
}

void CommandDispatch::PrintSetupReport() {
  velmar::PrintSetupReport(session_);
}

void CommandDispatch::ToggleComIndicators() {
  window_.ToggleComIndicators();
}

void CommandDispatch::FaultConfiguration() {
  FaultConfigEditor editor = MakeFaultConfigEditor(session_);
  view_.ShowFaultConfiguration(editor);
}

void CommandDispatch::ShowProgramInformation() {
  view_.ShowProgramInformation(window_.versionText, window_.programPartNumber);
}

void CommandDispatch::ShowFirmwareVersion() {
  velmar::ShowFirmwareVersion(session_);
}

void CommandDispatch::ShowRunHours() {
  velmar::ShowRunHours(session_);
}

void CommandDispatch::ShowPoweredHours() {
  velmar::ShowPoweredHours(session_);
}

void CommandDispatch::ShowAbout() {
  view_.ShowAbout();
}

void CommandDispatch::UnitSerialNumber() {
  char text[64];
  std::snprintf(text, sizeof text, "Serial Number: %s", session_.link.IdentSerialNumber());
  session_.ui.ShowMessage(MessageKind::Information, text, "Unit Serial Number");
}

}  // namespace velmar
