#pragma once

#include "app/session.h"

namespace velmar {

// The firmware-version, run-time-hours and powered-hours commands: each reads its value from the
// actuator and shows it, or the failure, in a message box.
void ShowFirmwareVersion(Session& session);
void ShowRunHours(Session& session);
void ShowPoweredHours(Session& session);

}  // namespace velmar
