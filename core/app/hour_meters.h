#pragma once

#include <cstdint>

#include "app/session.h"

namespace velmar {

// The firmware-version, run-time-hours and powered-hours commands: each reads its value from the
// actuator and shows it, or the failure, in a message box.
void ShowFirmwareVersion(Session& session);
void ShowRunHours(Session& session);
void ShowPoweredHours(Session& session);

// The same readings without the information box, for callers that show the value their own way:
// false after the failure's message box.
bool ReadFirmwareVersion(Session& session, int& version);
bool ReadRunHours(Session& session, uint32_t& hours);
bool ReadPoweredHours(Session& session, uint32_t& hours);

// The service command that resets the run-time hour meter after the user's Yes. True when the
// actuator acknowledged the reset.
bool ResetRunHoursCommand(Session& session);

}  // namespace velmar
