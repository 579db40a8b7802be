#include "faults/fault_log_browser.h"

#include <algorithm>

#include "base/local_time.h"
#include "faults/fault_log_report.h"
#include "faults/report_file_writer.h"

namespace velmar {

namespace {

constexpr const char* kNoRecordText = "No Fault Log Record Found";
constexpr const char* kNoRecordCaption = "Fault Log Report Status";
constexpr const char* kNoCommunicationText = "No Communication With Actuator/QTN.";
constexpr const char* kProgramError = "Program Error";
constexpr const char* kSaveCaption = "Save Fault Log Record File";
constexpr int kStatusPauseMs = 20;
constexpr int kClosingPauseMs = 100;
constexpr int kSaveProgressStep = 10;

}  // namespace

int FaultLogBrowser::FetchLogRecord(uint16_t slotAddress) {
  FaultLogRecord record;
  for (int page = 0; page < FaultLogRecord::kWords / ActuatorLink::kWordsPerPage; ++page) {
    const auto byteAddress =
        static_cast<uint16_t>(slotAddress + page * 2 * ActuatorLink::kWordsPerPage);
    if (link_.ReadLogWords(byteAddress, record.words.data() + page * ActuatorLink::kWordsPerPage) !=
        LinkResult::kSuccess) {
      return 1;
    }
  }
  if (!record.IsPresent()) {
    return 2;
  }
  texts = FaultLogRecordTexts(
      record, (slotAddress - FaultLogRecord::kFirstSlotAddress) / FaultLogRecord::kSlotBytes);
  return 0;
}

void FaultLogBrowser::Step(uint16_t previous, bool stepBackWhenEmpty) {
  busy = true;
  const int result = FetchLogRecord(address);
  if (result == 2) {
    if (stepBackWhenEmpty) {
      address = static_cast<uint16_t>(address - FaultLogRecord::kSlotBytes);
    }
    ui_.ShowMessage(MessageKind::Information, kNoRecordText, kNoRecordCaption);
  } else if (result == 1) {
    // The shown record stays the current one, so the next step does not skip a slot.
    address = previous;
    ui_.ShowMessage(MessageKind::Warning, kNoCommunicationText, kProgramError);
  }
  busy = false;
}

void FaultLogBrowser::Prev() {
  const uint16_t previous = address;
  address = address > FaultLogRecord::kFirstSlotAddress
                ? static_cast<uint16_t>(address - FaultLogRecord::kSlotBytes)
                : FaultLogRecord::kFirstSlotAddress;
  Step(previous, false);
}

void FaultLogBrowser::Next() {
  const uint16_t previous = address;
  address = address < FaultLogRecord::kLastSlotAddress
                ? static_cast<uint16_t>(address + FaultLogRecord::kSlotBytes)
                : FaultLogRecord::kLastSlotAddress;
  Step(previous, true);
}

bool FaultLogBrowser::Erase() {
  if (!EraseFaultLog(link_, ui_, clock_)) {
    return false;
  }
  texts = {};
  return true;
}

void FaultLogBrowser::Print() {
  if (!busy) {
    ui_.PrintReport(FaultLogPrintedReport(texts, localTime ? localTime() : LocalTimeNow()));
  }
}

void FaultLogBrowser::SaveRecord() {
  const FileBoxRequest request{
      "RPT", kReportFileName, "Actuator Fault Log Report Files (*.rpt)|*.RPT|All Files (*.*)|*.*||",
      true};
  std::string path;
  if (ui_.AskSaveFile(request, path)) {
    SaveRecordTo(path);
  }
}

bool FaultLogBrowser::SaveRecordTo(const std::string& path) {
  ReportFileWriter file;
  if (!file.Open(path)) {
    ui_.ShowMessage(MessageKind::Warning, "Error opening fault log report file.", kSaveCaption);
    return false;
  }
  if (link_.ReadIdentification() != LinkResult::kSuccess) {
    ui_.ShowMessage(MessageKind::Warning, "Actuator failed to respond to ID request.",
                    kProgramError);
    return false;
  }
  const ReportIdentification ident{link_.IdentSerialNumber(), link_.IdentModelNumber(),
                                   link_.IdentPartNumber()};
  const auto lines = FaultLogFileLines(texts, localTime ? localTime() : LocalTimeNow(), ident);
  ui_.BeginProgress(ProgressKind::ProgramStatus, " Saving Fault Log Record Report...");
  for (size_t line = 0; line < lines.size(); ++line) {
    file.WriteLine(lines[line]);
    ui_.SetProgressPosition(std::min<int>(100, kSaveProgressStep * static_cast<int>(line + 1)));
  }
  const bool saved = file.Commit();
  clock_.SleepMs(kClosingPauseMs);
  ui_.EndProgress();
  if (!saved) {
    ui_.ShowMessage(MessageKind::Warning, "Error writing fault log report file.", kSaveCaption);
  }
  return saved;
}

bool EraseFaultLog(ActuatorLink& link, Ui& ui, Clock& clock) {
  if (ui.AskYesNo("Erase all Fault Log Records?", "Verify Fault Log Erase") != Answer::Yes) {
    return false;
  }
  ui.BeginProgress(ProgressKind::ProgramStatus, " Clearing All Fault Log Records...");
  for (int slot = 0; slot < FaultLogRecord::kSlots; ++slot) {
    ui.SetProgressPosition(6 * (slot + 1));
    const auto slotAddress = static_cast<uint16_t>(FaultLogRecord::kFirstSlotAddress +
                                                   slot * FaultLogRecord::kSlotBytes);
    if (link.ClearLogRecord(slotAddress) != LinkResult::kSuccess) {
      ui.EndProgress();
      ui.ShowMessage(MessageKind::Warning, kNoCommunicationText, kProgramError);
      // The technician has to know which records are gone.
      if (slot > 0) {
        ui.ShowMessage(MessageKind::Warning,
                       "Records 1 to " + std::to_string(slot) + " were erased.", kProgramError);
      }
      return false;
    }
    clock.SleepMs(kStatusPauseMs);
  }
  ui.SetProgressPosition(100);
  clock.SleepMs(kClosingPauseMs);
  ui.EndProgress();
  return true;
}

}  // namespace velmar
