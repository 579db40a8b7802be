#pragma once

#include <string>

#include "faults/fault_config_editor.h"
#include "setup/setup_page_values.h"

namespace velmar {

enum class SettingsMode { Load, Save };

// The windows the main window's sequences open besides message boxes. The desktop tool shows
// them modally; tests record them.
class MainWindowView {
 public:
  virtual ~MainWindowView() = default;

  // Runs the settings load or save inside its "File Transfer Progress" window.
  virtual void RunSettingsWindow(SettingsMode mode) = 0;
  virtual void ShowProgramInformation(const std::string& versionText,
                                      const std::string& programPartNumber) = 0;
  virtual void ShowAbout() = 0;
  // Shows the "Actuator Setup" sheet over `values`; true when it ended with OK.
  virtual bool ShowSetupPages(SetupPageValues& values) = 0;
  // The fault windows: "Actuator Fault Log Report", "View Fault File" and the "Upload Faults
  // Status" animation.
  virtual void ShowFaultLogDialog() = 0;
  virtual void ShowFaultFileDialog() = 0;
  virtual void RunFaultUploadStatus() = 0;
  // The monitoring and service windows, run modally over the session: the status monitor (once
  // its opening has read the span), the identification check, the memory read/write window and
  // the counts-to-temperature conversion.
  virtual void ShowStatusMonitor() = 0;
  virtual void ShowDiagnosticTest() = 0;
  virtual void ShowMemoryDialog() = 0;
  virtual void ShowCountsToTemperature() = 0;
  // Runs the "Actuator Fault Configuration" dialog over `editor` until Exit, the main window's
  // controls disabled meanwhile.
  virtual void ShowFaultConfiguration(FaultConfigEditor& editor) = 0;
};

}  // namespace velmar
