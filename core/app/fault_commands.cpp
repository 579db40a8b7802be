#include "app/fault_commands.h"

#include "app/pre_checks.h"
#include "faults/fault_file_upload.h"
#include "faults/fault_log_browser.h"
#include "link/firmware_versions.h"
#include "setup/setup_parameters.h"

namespace velmar {

namespace {

constexpr int kReportUploadBit = 0x02;

}  // namespace

bool ClearFaultInformation(Session& session) {
  if (session.link.FirmwareVersion() < kFirmware300) {
    return ClearActuatorFaults(session.link, session.ui, MessageKind::Warning);
  }
  return EraseFaultLog(session.link, session.ui, session.clock);
}

bool ReportUploadsFirst(const Session& session) {
  return (ParseLeadingInt(session.settings.options) & kReportUploadBit) != 0;
}

UploadOutcome UploadSessionFaults(Session& session) {
  return UploadFaults(session.link, session.clock, session.ui, session.settings.node,
                      session.faultFile);
}

void PrintFaultFileReport(Session& session, bool upload,
                          const std::function<void()>& showAnimation) {
  UploadOutcome outcome = UploadOutcome::NotRun;
  if (upload) {
    if (!ForcedVersionCheck(session)) {
      return;
    }
    outcome = UploadSessionFaults(session);
    if (outcome == UploadOutcome::Uploaded && showAnimation) {
      showAnimation();
    }
  }
  session.ui.PrintReport(FaultFileReportText(session.faultFile, outcome));
}

}  // namespace velmar
