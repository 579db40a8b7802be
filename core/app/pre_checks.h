#pragma once

#include <optional>

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

enum class VersionCheck { kNone, kIfUnread, kForced };

// What a command checks before its work, in this order.
struct CommandChecks {
  // Service commands: without `serviceMode` the command ends with "Feature not available."
  // under `serviceRefusalCaption` (an error box), or silently when that is null.
  bool serviceOnly = false;
  const char* serviceRefusalCaption = nullptr;
  // One receive first, whose result is ignored: it drains a reply still on its way.
  bool drainReplyFirst = false;
  VersionCheck version = VersionCheck::kNone;
  // Firmware below this is refused with the warning `belowMinimum`; 0 accepts any.
  int minimumFirmware = 0;
  const char* belowMinimum = nullptr;
  // The status and RESET checks, worded for `reset`, for firmware from `resetCheckFrom` on.
  std::optional<ResetCommand> reset = std::nullopt;
  int resetCheckFrom = 0;
};

// Makes `checks` in order; false after the first failure's box.
bool PassChecks(Session& session, const CommandChecks& checks);

}  // namespace velmar
