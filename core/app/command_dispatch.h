#pragma once

#include "app/communication_poll.h"
#include "app/main_window_logic.h"
#include "app/main_window_view.h"
#include "app/session.h"

namespace velmar {

// Every command the main window handles.
enum class MainCommand {
  SetupPages,
  DownloadSetup,
  UploadSetup,
  StatusMonitor,
  IdentificationCheck,
  FaultInformation,
  Exit,
  LoadSetupFile,
  SaveSetupFile,
  SaveFaultFile,
  PrintSetupReport,
  FaultFileReport,
  ClearFaultInformation,
  ComIndicators,
  FirmwareVersion,
  ProgramInformation,
  Help,
  RunTimeHours,
  PoweredHours,
  FaultConfiguration,
  ResetRunHours,
  MemoryReadWrite,
  MemoryButton,
  UnitSerialNumber,
  About,
};

// The main window's command dispatch. Every command but Exit holds the poll stopped while it
// runs and restarts it on every way out; each handler makes its checks against the actuator
// before its work.
class CommandDispatch {
 public:
  static constexpr const char* kNotAvailableText = "This command is not available yet.";
  static constexpr const char* kNotAvailableCaption = "Program Status";

  CommandDispatch(Session& session, CommunicationPoll& poll, MainWindowLogic& window,
                  MainWindowView& view)
      : session_(session), poll_(poll), window_(window), view_(view) {}

  // Close when the dialog has to end.
  WindowAction Dispatch(MainCommand command);

 private:
  void Run(MainCommand command);

  // Fills the setup pages from the record, shows them and copies them back on OK.
  void SetupPages(bool afterUpload);
  void UploadSetup();
  void StatusMonitor();
  void IdentificationCheck();
  void FaultInformation();
  void LoadSetupFile();
  void SaveSetupFile();
  void SaveFaultFile();
  void FaultFileReport();
  void ClearFaultInformation();
  void FaultConfiguration();
  void ResetRunHours();
  void MemoryReadWrite();
  void MemoryButton();
  void UnitSerialNumber();

  // Stands in for the work of the windows still to come.
  void NotAvailableYet();

  Session& session_;
  CommunicationPoll& poll_;
  MainWindowLogic& window_;
  MainWindowView& view_;
};

}  // namespace velmar
