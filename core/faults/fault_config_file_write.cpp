#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "faults/fault_config_editor.h"
#include "faults/fault_config_file_load.h"

namespace velmar {

namespace {

constexpr const char* kWritingStatus = " Writing fault configuration to Actuator...";
constexpr int kLoadProgressCeiling = 99;
constexpr int kWriteProgressStart = 3;
constexpr int kProgressPerType = 7;
constexpr int kChecksumProgress = 3;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

void FaultConfigEditor::WriteFromFileButton() {
  if (!CanWrite()) {
    return;
  }
  const FileBoxRequest request{"CFG", "*.CFG",
                               "Actuator Setup Files (*.cfg)|*.CFG|All Files (*.*)|*.*||", false};
  std::string path;
  if (ports_.ui.AskOpenFile(request, path)) {
    WriteFromFile(path);
  }
}

bool FaultConfigEditor::CanWrite() {
  if (viewOnly) {
    ports_.ui.ShowMessage(MessageKind::Warning, "Feature not available.", kProgramStatusCaption);
    return false;
  }
  return FaultConfigResetCheck(ports_);
}

bool FaultConfigEditor::WriteFromFile(const std::string& path) {
  Ui& ui = ports_.ui;
  Clock& clock = ports_.clock;
  ActuatorLink& link = ports_.link;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    ui.ShowMessage(MessageKind::Warning, "Error opening fault configuration file.", "File Error");
    return false;
  }
  ui.BeginProgress(ProgressKind::ProgramStatus, " Reading fault configuration from file...");
  int position = 0;
  const FaultConfigFileLoad load = LoadFaultConfigFile(file.get(), [&] {
    position = std::min(position + 1, kLoadProgressCeiling);
    ui.SetProgressPosition(position);
  });
  file.reset();
  if (!load.abortText.empty()) {
    ui.EndProgress();
    clock.SleepMs(50);
    ui.ShowMessage(MessageKind::Warning, load.abortText, kProgramStatusCaption);
    return false;
  }
  ui.SetProgressPosition(100);
  clock.SleepMs(100);
  ui.EndProgress();
  if (load.parameterCount != kFaultConfigParameters) {
    char text[128];
    std::snprintf(text, sizeof text,
                  "Write aborted, could only read %d of the %d parameters expected.",
                  load.parameterCount, kFaultConfigParameters);
    ui.ShowMessage(MessageKind::Warning, text, kProgramStatusCaption);
    return false;
  }
  if (ui.AskYesNo("Fault configuration loaded from file successfully. Write fault configuration "
                  "to Actuator?",
                  "Verify Fault Configuration Write") != Answer::Yes) {
    return false;
  }
  if (link.ReadIdentification() != LinkResult::kSuccess) {
    ui.ShowMessage(MessageKind::Warning, "Communication error reading fault configuration data.",
                   kProgramStatusCaption);
    return false;
  }
  ui.BeginProgress(ProgressKind::ProgramStatus, kWritingStatus);
  position = kWriteProgressStart;
  ui.SetProgressPosition(position);
  // Once the write-enable has gone out, every way out sends the write-disable.
  const auto fail = [&](const char* text, int pauseMs = 0) {
    ui.EndProgress();
    if (pauseMs > 0) {
      clock.SleepMs(pauseMs);
    }
    ui.ShowMessage(MessageKind::Error, text, kProgramErrorCaption);
    clock.SleepMs(100);
    if (link.DisableWrites() != LinkResult::kSuccess) {
      ui.ShowMessage(MessageKind::Error, "Fault configuration data write close error.",
                     kProgramErrorCaption);
    }
    return false;
  };
  if (link.EnableWrites() != LinkResult::kSuccess) {
    return fail("Open Actuator config data error.");
  }
  for (int type = 0; type < kFaultTypeCount; ++type) {
    if (WriteFaultRecord(ports_, kFaultTypes[type].address, load.records[type]) !=
        LinkResult::kSuccess) {
      return fail("Write fault config data error.", 50);
    }
    position += kProgressPerType;
    ui.SetProgressPosition(position);
  }
  clock.SleepMs(100);
  uint16_t sum = 0;
  if (!ComputeFaultConfigChecksum(ports_, sum)) {
    return fail("Fault configuration calc checksum error.");
  }
  // The checksum's window has replaced this one.
  ui.BeginProgress(ProgressKind::ProgramStatus, kWritingStatus);
  ui.SetProgressPosition(position);
  if (WriteFaultChecksumRecord(link, sum) != LinkResult::kSuccess) {
    return fail("Fault configuration checksum write error.");
  }
  ui.SetProgressPosition(position + kChecksumProgress);
  clock.SleepMs(100);
  if (link.DisableWrites() != LinkResult::kSuccess) {
    ui.EndProgress();
    ui.ShowMessage(MessageKind::Error, "Fault configuration data write close error.",
                   kProgramErrorCaption);
    return false;
  }
  ui.SetProgressPosition(100);
  clock.SleepMs(100);
  ui.EndProgress();
  clock.SleepMs(50);
  ui.ShowMessage(MessageKind::Information, "Fault configuration data written successfully.",
                 kProgramStatusCaption);
  Read();
  return true;
}

}  // namespace velmar
