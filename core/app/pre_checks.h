#pragma once

#include "app/session.h"

namespace velmar {

// The checks commands make before their work. Each shows its warning box and returns false on
// failure; the caller then ends the command (its poll guard restarts the poll).

// Verifies communication only when no firmware version has been read yet.
bool VersionCheckIfUnread(Session& session);
// Verifies communication whatever the firmware version holds.
bool ForcedVersionCheck(Session& session);
// Asks for the actuator's status; on success `statusFlags` holds byte 21 of the status frame.
bool StatusCheck(Session& session, int& statusFlags);

// The commands that need the actuator in its RESET state, for the wording of the refusal.
enum class ResetCommand {
  UploadSetup,
  DownloadSetup,
  IdentificationCheck,
  UploadFaults,
  ClearFaults
};

// Bit 1 of the status flags marks the RESET state.
bool ResetCheck(Session& session, int statusFlags, ResetCommand command);

}  // namespace velmar
