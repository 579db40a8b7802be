#include "faults/fault_file_save.h"

#include "faults/report_file_writer.h"

namespace velmar {

namespace {

constexpr const char* kCaption = "Save Fault File";
constexpr int kLinePauseMs = 20;
constexpr int kClosingPauseMs = 100;
constexpr int kProgressPerLine = 3;

}  // namespace

bool SaveFaultFileReport(const FaultFileImage& image, const std::string& path, Ui& ui,
                         Clock& clock) {
  ui.BeginProgress(ProgressKind::FileTransfer, "Saving Fault File Data...");
  ui.SetProgressPosition(1);
  ReportFileWriter file;
  if (!file.Open(path)) {
    ui.EndProgress();
    ui.ShowMessage(MessageKind::Warning, "Error opening fault file data file.", kCaption);
    return false;
  }
  int position = 1;
  for (const std::string& line : FaultFileReportLines(image)) {
    file.WriteLine(line);
    position += kProgressPerLine;
    ui.SetProgressPosition(position);
    clock.SleepMs(kLinePauseMs);
  }
  ui.SetProgressPosition(100);
  clock.SleepMs(kClosingPauseMs);
  const bool saved = file.Commit();
  ui.EndProgress();
  if (!saved) {
    ui.ShowMessage(MessageKind::Warning, "Error writing fault file data file.", kCaption);
  }
  return saved;
}

}  // namespace velmar
