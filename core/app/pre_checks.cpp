#include "app/pre_checks.h"

namespace velmar {

namespace {

constexpr const char* kProgramError = "Program Error";
constexpr int kResetStateBit = 0x02;

bool Verify(Session& session) {
  if (session.VerifyCommunication() == 0) {
    return true;
  }
  session.ui.ShowMessage(MessageKind::Warning,
                         "Actuator failed to respond to firmware version request.", kProgramError);
  return false;
}

const char* ResetRefusal(ResetCommand command) {
  switch (command) {
    case ResetCommand::UploadSetup:
      return "Actuator must be in RESET state to upload setup parameters.";
    case ResetCommand::DownloadSetup:
      return "Actuator must be in RESET state to download setup parameters.";
    case ResetCommand::IdentificationCheck:
      return "Actuator must be in RESET state to run identification check.";
    case ResetCommand::UploadFaults:
      return "Actuator must be in RESET state to upload fault information.";
    case ResetCommand::ClearFaults:
      return "Actuator must be in RESET state to clear fault information.";
  }
  return "";
}

}  // namespace

bool VersionCheckIfUnread(Session& session) {
  return session.link.FirmwareVersion() != 0 || Verify(session);
}

bool ForcedVersionCheck(Session& session) {
  return Verify(session);
}

bool StatusCheck(Session& session, int& statusFlags) {
  if (session.link.RequestModeStatus(statusFlags) == LinkResult::kSuccess) {
    return true;
  }
  session.ui.ShowMessage(MessageKind::Warning, "Actuator failed to respond to status request.",
                         kProgramError);
  return false;
}

bool ResetCheck(Session& session, int statusFlags, ResetCommand command) {
  if (statusFlags & kResetStateBit) {
    return true;
  }
  session.ui.ShowMessage(MessageKind::Warning, ResetRefusal(command), kProgramError);
  return false;
}

bool PassChecks(Session& session, const CommandChecks& checks) {
  if (checks.serviceOnly && !session.serviceMode) {
    if (checks.serviceRefusalCaption != nullptr) {
      session.ui.ShowMessage(MessageKind::Error, "Feature not available.",
                             checks.serviceRefusalCaption);
    }
    return false;
  }
  if (checks.drainReplyFirst) {
    session.link.ReceiveFrame();
  }
  if ((checks.version == VersionCheck::kIfUnread && !VersionCheckIfUnread(session)) ||
      (checks.version == VersionCheck::kForced && !ForcedVersionCheck(session))) {
    return false;
  }
  const int firmware = session.link.FirmwareVersion();
  if (firmware < checks.minimumFirmware) {
    session.ui.ShowMessage(MessageKind::Warning, checks.belowMinimum, kProgramError);
    return false;
  }
  int flags = 0;
  return !checks.reset || firmware < checks.resetCheckFrom ||
         (StatusCheck(session, flags) && ResetCheck(session, flags, *checks.reset));
}

}  // namespace velmar
