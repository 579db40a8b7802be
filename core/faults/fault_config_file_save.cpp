#include <string>

#include "base/file_date_time.h"
#include "base/replacing_file.h"
#include "faults/fault_config_editor.h"
#include "faults/fault_config_units.h"

namespace velmar {

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr const char* kOpenErrorText = "Error opening new fault configuration file.";
constexpr const char* kReadErrorText = "Communication error reading fault configuration data.";
constexpr const char* kHeaderLines[] = {
    ";  Velmar Actuator Fault Configuration Setup File",
    ";",
    ";  Warning : This file is automatically updated by the Velmar",
    ";            software. Modifying anything in this file can",
    ";            corrupt the data and make it unusable. DO NOT EDIT!",
    ";",
};
constexpr int kHeaderProgress = 12;
constexpr int kProgressPerType = 7;

std::string Line(const std::string& text) {
  return text + kLineEnd;
}

}  // namespace

void FaultConfigEditor::SaveToFileButton() {
  if (!FaultConfigResetCheck(ports_)) {
    return;
  }
  const FileBoxRequest request{
      "CFG", "FaultCfg.cfg",
      "Actuator Fault Configuration Files (*.cfg)|*.CFG|All Files (*.*)|*.*||", true};
  std::string path;
  if (ports_.ui.AskSaveFile(request, path)) {
    SaveToFile(path);
  }
}

// The file is written under a temporary name and replaces `path` only when complete.
bool FaultConfigEditor::SaveToFile(const std::string& path) {
  Ui& ui = ports_.ui;
  ActuatorLink& link = ports_.link;
  ReplacingFile file;
  if (!file.Open(path)) {
    ui.ShowMessage(MessageKind::Warning, kOpenErrorText, "File Error");
    return false;
  }
  if (link.ReadIdentification() != LinkResult::kSuccess) {
    ui.ShowMessage(MessageKind::Error, kReadErrorText, kProgramErrorCaption);
    return false;
  }
  ui.BeginProgress(ProgressKind::ProgramStatus,
                   " Writing fault configuration to specified file...");
  for (const char* line : kHeaderLines) {
    file.Write(Line(line));
  }
  file.Write(Line("DATETIME = " + FileDateTimeNow()));
  file.Write(Line(std::string("MODELNO = ") + link.IdentModelNumber()));
  file.Write(Line(std::string("PARTNO = ") + link.IdentPartNumber()));
  file.Write(Line(std::string("SERIALNO = ") + link.IdentSerialNumber()));
  int position = kHeaderProgress;
  ui.SetProgressPosition(position);
  for (int type = 0; type < kFaultTypeCount; ++type) {
    FaultSlotWords words{};
    if (link.ReadRecordSlot(kFaultTypes[type].address, words.data()) != LinkResult::kSuccess) {
      ui.EndProgress();
      ports_.clock.SleepMs(50);
      ui.ShowMessage(MessageKind::Error, kReadErrorText, kProgramErrorCaption);
      return false;
    }
    for (int field = 0; field < kFaultRecordWords; ++field) {
      file.Write(Line(std::string(kFaultTypes[type].keyPrefix) + kFaultKeySuffixes[field] + " = " +
                      FileFieldText(type, field, words[field])));
    }
    position += kProgressPerType;
    ui.SetProgressPosition(position);
  }
  ui.SetProgressPosition(100);
  ports_.clock.SleepMs(100);
  ui.EndProgress();
  file.Write(Line(""));
  file.Write(Line(";  end"));
  if (!file.Commit()) {
    ui.ShowMessage(MessageKind::Warning, kOpenErrorText, "File Error");
    return false;
  }
  return true;
}

}  // namespace velmar
