#pragma once

#include <cstdint>

#include "app/session.h"
#include "link/actuator_link.h"

namespace velmar {

using StatusFrame = uint8_t[ActuatorLink::kStatusFrameLength];

// The status request of the diagnostic test's active-fault check: up to 5 attempts, each
// polling the port up to 30 times 100 ms apart for exactly the 33 bytes of a status frame (any
// other count waiting is read and thrown away), 250 ms after a failed attempt. True with a
// frame that passed its CRC in `frame`.
bool RequestStatusFrame(Session& session, StatusFrame& frame);

// Up to `attempts` firmware-version requests in the link's frame mode, back to back. True with
// major * 256 + minor in `version`.
bool RequestFirmwareVersion(ActuatorLink& link, int attempts, int& version);

}  // namespace velmar
