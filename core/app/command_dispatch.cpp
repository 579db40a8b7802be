#include "app/command_dispatch.h"

#include <cstdio>

#include "app/hour_meters.h"
#include "app/pre_checks.h"
#include "app/setup_report_printing.h"
#include "app/setup_transfer_commands.h"
#include "setup/setup_file.h"

namespace velmar {

namespace {

constexpr const char* kProgramError = "Program Error";
constexpr int kFirmware200 = 0x200;
constexpr int kFirmware206 = 0x206;
constexpr int kFirmware300 = 0x300;
constexpr int kFirmware310 = 0x30A;

const char* const kSetupFileFilter = "Actuator Setup Files (*.cfg)|*.CFG|All Files (*.*)|*.*||";

}  // namespace

WindowAction CommandDispatch::Dispatch(MainCommand command) {
  // Exit stops the poll for good.
  if (command == MainCommand::Exit) {
    return window_.ShutDown();
  }
  PollPause pause(poll_);
  Run(command);
  return WindowAction::Stay;
}

// One handler per command; a window still to come is replaced here.
void CommandDispatch::Run(MainCommand command) {
  switch (command) {
    case MainCommand::SetupPages:
      return SetupPages(false);
    case MainCommand::DownloadSetup:
      DownloadSetupCommand(session_);
      return;
    case MainCommand::UploadSetup:
      return UploadSetup();
    case MainCommand::StatusMonitor:
      return StatusMonitor();
    case MainCommand::IdentificationCheck:
      return IdentificationCheck();
    case MainCommand::FaultInformation:
      return FaultInformation();
    case MainCommand::Exit:
      return;  // handled by Dispatch
    case MainCommand::LoadSetupFile:
      return LoadSetupFile();
    case MainCommand::SaveSetupFile:
      return SaveSetupFile();
    case MainCommand::SaveFaultFile:
      return SaveFaultFile();
    case MainCommand::PrintSetupReport:
      PrintSetupReport(session_);
      return;
    case MainCommand::FaultFileReport:
      return FaultFileReport();
    case MainCommand::ClearFaultInformation:
      return ClearFaultInformation();
    case MainCommand::ComIndicators:
      return window_.ToggleComIndicators();
    case MainCommand::FirmwareVersion:
      return ShowFirmwareVersion(session_);
    case MainCommand::ProgramInformation:
      return view_.ShowProgramInformation(window_.versionText, window_.programPartNumber);
    case MainCommand::Help:
      return;  // the program has no help content
    case MainCommand::RunTimeHours:
      return ShowRunHours(session_);
    case MainCommand::PoweredHours:
      return ShowPoweredHours(session_);
    case MainCommand::FaultConfiguration:
      return FaultConfiguration();
    case MainCommand::ResetRunHours:
      return ResetRunHours();
    case MainCommand::MemoryReadWrite:
      return MemoryReadWrite();
    case MainCommand::MemoryButton:
      return MemoryButton();
    case MainCommand::UnitSerialNumber:
      return UnitSerialNumber();
    case MainCommand::About:
      return view_.ShowAbout();
  }
}

void CommandDispatch::NotAvailableYet() {
  session_.ui.ShowMessage(MessageKind::Information, kNotAvailableText, kNotAvailableCaption);
}

void CommandDispatch::SetupPages(bool afterUpload) {
  SetupPageValues& pages = session_.pages;
  pages.FillPages(session_.setup);
  // Firmware before 3.10 has no seating and loss values: the pages offer their defaults.
  if (afterUpload && session_.link.firmwareVersion < kFirmware310) {
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

void CommandDispatch::StatusMonitor() {
  ActuatorLink& link = session_.link;
  link.ReceiveFrame();  // drains a reply still on its way
  if (!VersionCheckIfUnread(session_)) {
    return;
  }
  if (link.firmwareVersion < kFirmware200) {
    session_.ui.ShowMessage(MessageKind::Warning,
                            "Real time status monitoring requires v2.0 or later firmware.",
                            kProgramError);
    return;
  }
  if (link.RequestMaxForce() != 0) {
    session_.ui.ShowMessage(MessageKind::Warning,
                            "Actuator failed to respond to max force request.", kProgramError);
    return;
  }
  if (link.RequestSpan() != 0) {
    session_.ui.ShowMessage(MessageKind::Warning, "Actuator failed to respond to span request.",
                            kProgramError);
    return;
  }
  NotAvailableYet();
}

void CommandDispatch::IdentificationCheck() {
  int flags = 0;
  if (!VersionCheckIfUnread(session_)) {
    return;
  }
  if (session_.link.firmwareVersion >= kFirmware200 &&
      (!StatusCheck(session_, flags) ||
       !ResetCheck(session_, flags, ResetCommand::IdentificationCheck))) {
    return;
  }
  NotAvailableYet();
}

void CommandDispatch::FaultInformation() {
  int flags = 0;
  if (!ForcedVersionCheck(session_)) {
    return;
  }
  if (session_.link.firmwareVersion < kFirmware200) {
    session_.ui.ShowMessage(
        MessageKind::Warning,
        "Firmware versions prior to v2.00 are not compatible with this version of Velmar.",
        kProgramError);
    return;
  }
  if (!StatusCheck(session_, flags) || !ResetCheck(session_, flags, ResetCommand::UploadFaults)) {
    return;
  }
  NotAvailableYet();
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

void CommandDispatch::SaveFaultFile() {
  if (!ForcedVersionCheck(session_)) {
    return;
  }
  // From firmware 3.00 the fault log takes the fault file's place.
  if (session_.link.firmwareVersion >= kFirmware300) {
    return FaultInformation();
  }
  const FileBoxRequest request{"RPT", "Faults.rpt",
                               "Actuator Fault Files (*.rpt)|*.RPT|All Files (*.*)|*.*||", true};
  std::string path;
  if (session_.ui.AskSaveFile(request, path)) {
    NotAvailableYet();
  }
}

void CommandDispatch::FaultFileReport() {
  if (!ForcedVersionCheck(session_)) {
    return;
  }
  if (session_.link.firmwareVersion >= kFirmware300) {
    return FaultInformation();
  }
  NotAvailableYet();
}

void CommandDispatch::ClearFaultInformation() {
  int flags = 0;
  if (!VersionCheckIfUnread(session_) || !StatusCheck(session_, flags) ||
      !ResetCheck(session_, flags, ResetCommand::ClearFaults)) {
    return;
  }
  NotAvailableYet();
}

void CommandDispatch::FaultConfiguration() {
  if (!ForcedVersionCheck(session_)) {
    return;
  }
  if (session_.link.firmwareVersion < kFirmware206) {
    session_.ui.ShowMessage(MessageKind::Warning,
                            "Configurable faults not supported by this firmware version.",
                            kProgramError);
    return;
  }
  NotAvailableYet();
}

void CommandDispatch::ResetRunHours() {
  if (session_.serviceMode) {
    return NotAvailableYet();
  }
  session_.ui.ShowMessage(MessageKind::Error, "Feature not available.", "Reset Run Hours Status");
}

void CommandDispatch::MemoryReadWrite() {
  if (session_.serviceMode) {
    return NotAvailableYet();
  }
  session_.ui.ShowMessage(MessageKind::Error, "Feature not available.", "Program Status");
}

void CommandDispatch::MemoryButton() {
  if (session_.serviceMode) {
    NotAvailableYet();
  }
}

void CommandDispatch::UnitSerialNumber() {
  if (!ForcedVersionCheck(session_)) {
    return;
  }
  char text[64];
  std::snprintf(text, sizeof text, "Serial Number: %s", session_.link.identSerialNumber);
  session_.ui.ShowMessage(MessageKind::Information, text, "Unit Serial Number");
}

}  // namespace velmar
