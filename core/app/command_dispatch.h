#pragma once

#include "app/communication_poll.h"
#include "app/main_window_logic.h"
#include "app/main_window_view.h"
#include "app/pre_checks.h"
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
  RestoreSetupFile,
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

// The main window's command dispatch: a table of every command but Exit with the checks it
// makes against the actuator and the handler that does its work. Every command but Exit holds
// the poll stopped while it runs and restarts it on every way out.
class CommandDispatch {
 public:
  CommandDispatch(Session& session, CommunicationPoll& poll, MainWindowLogic& window,
                  MainWindowView& view)
      : session_(session), poll_(poll), window_(window), view_(view) {}

  // Close when the dialog has to end. Exit during another command ends the dialog only once
  // that command is over.
  WindowAction Dispatch(MainCommand command);

  // The checks `command` makes before its work (none for Exit), for other front ends that run
  // the same command.
  static const CommandChecks& ChecksOf(MainCommand command);

  // A character typed while the About popup is open: with `serviceMode` set and the indicators
  // once declined, "!" resets the run hours, "^" opens the counts-to-temperature conversion and
  // ">" the memory window. True when the key ran one of them.
  bool ServiceKey(char key);

 private:
  struct Row {
    MainCommand command;
    CommandChecks checks;
    void (CommandDispatch::*handler)();
  };
  static const Row kRows[];
  static const Row& RowOf(MainCommand command);

  // The command's checks, then its handler.
  void Run(MainCommand command);

  // Fills the setup pages from the record, shows them and copies them back on OK.
  void SetupPages(bool afterUpload);
  void ShowSetupPages() { SetupPages(false); }
  void UploadSetup();
  void DownloadSetup();
  void StatusMonitor();
  void ShowDiagnosticTest();
  void ResetRunHours();
  void ShowMemoryDialog();
  void LoadSetupFile();
  void SaveSetupFile();
  // A file box, then the chosen setup file is downloaded with its own serial number.
  void RestoreSetupFile();
  void SaveFaultFile();
  void FaultFileReport();
  // Opens the fault log window from firmware 3.00, the fault file window before.
  void FaultInformation();
  void ClearFaultInformation();
  void PrintSetupReport();
  void ToggleComIndicators();
  void FaultConfiguration();
  void ShowProgramInformation();
  void ShowFirmwareVersion();
  void ShowRunHours();
  void ShowPoweredHours();
  void ShowAbout();
  void UnitSerialNumber();
  void Nothing() {}

  Session& session_;
  CommunicationPoll& poll_;
  MainWindowLogic& window_;
  MainWindowView& view_;
};

}  // namespace velmar
