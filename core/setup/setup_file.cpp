#include "setup/setup_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <memory>

#include "base/file_error_detail.h"
#include "base/replacing_file.h"
#include "setup/setup_file_reader.h"

namespace velmar {

namespace {

// Setup files travel between machines with the line ends of the platform they came from.
constexpr const char* kLineEnd = "\r\n";

constexpr const char* kHeaderLines[] = {
    ";  Velmar Actuator Setup Configuration File",
    ";",
    ";  Warning : This file is automatically updated by the Velmar",
    ";            software. Modifying anything in this file can",
    ";            corrupt the data and make it unusable. DO NOT EDIT!",
    ";            Note that setup parameters SEATINGFORCE,           ",
    ";            SEATFORCETIME, RUNLOSSVEL and DMDLOSSVEL are       ",
    ";            necessary for version 3.10 firmware and later and  ",
    ";            will be ignored by previous Actuator versions.     ",
    ";",
};

constexpr int kSaveRangeHigh = 33;
constexpr int kSaveLineSleepMs = 20;
constexpr int kSaveEndSleepMs = 100;
constexpr int kLoadRangeHigh = 100;
constexpr int kLoadLineSleepMs = 30;
constexpr int kLoadEndSleepMs = 50;

constexpr const char* kFileErrorCaption = "File Error";
constexpr const char* kSaveErrorText = "Error opening setup parameter file.";
constexpr const char* kLoadErrorText = "Error opening actuator setup file.";

void SetStatus(SetupParameters& record, Ui& ui, const char* text) {
  record.statusText = text;
  ui.SetProgressStatus(record.statusText);
}

void OpenProgress(SetupParameters& record, Ui& ui, const char* status, int high) {
  record.statusText = status;
  ui.BeginProgress(ProgressKind::FileTransfer, record.statusText);
  ui.SetProgressRange(0, high);
  ui.SetProgressPosition(0);
}

void FailWithWarning(Ui& ui, const char* text, const std::string& detail) {
  ui.EndProgress();
  ui.ShowDetailedMessage(MessageKind::Warning, text, kFileErrorCaption, detail);
}

// The path and why it could not be loaded: the system's reason, or that nothing in it is a setup.
std::string LoadFailureDetail(const std::string& path, FileResult result, int openError) {
  if (result == FileResult::kNothingRecognised) {
    return "File: " + path + "\nReason: " + kNoSetupParametersReason;
  }
  return FileErrorDetail(path, openError);
}

std::string KeyLine(const SetupFields& fields, const SetupFieldInfo& info) {
  return std::string(info.key) + " = " + FieldText(fields, info).data() + kLineEnd;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The load shared by both entry points: `onCountedLine` paces the window, if there is one.
// The file is applied to a copy so a read error, or a file in which no line names a setup key
// (which is no setup file, whatever its name), leaves the record as it was. `openError` is the
// system's reason when the file cannot be opened, else 0.
FileResult ReadIntoRecord(SetupParameters& record, const std::string& path,
                          const std::function<void()>& onCountedLine, int& openError) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  openError = file ? 0 : errno;
  if (!file) {
    return FileResult::kFailed;
  }
  SetupFields fields = record;
  SetField(fields.SEATINGFORCE, "1000");
  SetField(fields.SEATFORCETIME, "1000");
  SetField(fields.RUNLOSSVEL, "2.0");
  SetField(fields.DMDLOSSVEL, "2.0");
  int keyLines = 0;
  if (!ReadSetupFileLines(file.get(), fields, onCountedLine, keyLines)) {
    return FileResult::kFailed;
  }
  if (keyLines == 0) {
    return FileResult::kNothingRecognised;
  }
  static_cast<SetupFields&>(record) = fields;
  return FileResult::kOk;
}

}  // namespace

FileResult SaveSetupFile(SetupParameters& record, const std::string& path, Ui& ui, Clock& clock) {
  record.fileName = path;
  OpenProgress(record, ui, "Saving Setup Parameters...", kSaveRangeHigh);
  ReplacingFile file;
  if (!file.Open(path)) {
    FailWithWarning(ui, kSaveErrorText, FileErrorDetail(path, file.Error()));
    return FileResult::kFailed;
  }
  for (const char* line : kHeaderLines) {
    file.Write(std::string(line) + kLineEnd);
  }
  SetDateTimeToNow(record);
  int position = 0;
  for (const SetupFieldInfo& info : kSetupFileFields) {
    file.Write(KeyLine(record, info));
    position = std::min(position + 1, kSaveRangeHigh);
    ui.SetProgressPosition(position);
    clock.SleepMs(kSaveLineSleepMs);
  }
  if (!file.Commit()) {
    FailWithWarning(ui, kSaveErrorText, FileErrorDetail(path, file.Error()));
    return FileResult::kFailed;
  }
  ui.SetProgressPosition(kSaveRangeHigh);
  clock.SleepMs(kSaveEndSleepMs);
  SetStatus(record, ui, "Finished Saving Actuator Setup.");
  clock.SleepMs(kSaveEndSleepMs);
  ui.EndProgress();
  return FileResult::kOk;
}

FileResult LoadSetupFile(SetupParameters& record, const std::string& path, Ui& ui, Clock& clock) {
  record.fileName = path;
  OpenProgress(record, ui, "Loading Actuator Setup...", kLoadRangeHigh);
  int position = 0;
  int openError = 0;
  const FileResult loaded = ReadIntoRecord(
      record, path,
      [&] {
        position = std::min(position + (position % 2 == 0 ? 3 : 2), kLoadRangeHigh);
        ui.SetProgressPosition(position);
        clock.SleepMs(kLoadLineSleepMs);
      },
      openError);
  if (loaded != FileResult::kOk) {
    FailWithWarning(ui, kLoadErrorText, LoadFailureDetail(path, loaded, openError));
    return loaded;
  }
  ui.SetProgressPosition(kLoadRangeHigh);
  clock.SleepMs(kLoadEndSleepMs);
  SetStatus(record, ui, "Finished Loading Actuator Setup.");
  ui.EndProgress();
  return FileResult::kOk;
}

FileResult LoadSetupFileByName(SetupParameters& record, const std::string& path, Ui& ui) {
  record.fileName = path;
  int openError = 0;
  const FileResult loaded = ReadIntoRecord(
      record, path, [] {}, openError);
  if (loaded != FileResult::kOk) {
    ui.ShowDetailedMessage(MessageKind::Warning, kLoadErrorText, kFileErrorCaption,
                           LoadFailureDetail(path, loaded, openError));
  }
  return loaded;
}

}  // namespace velmar
