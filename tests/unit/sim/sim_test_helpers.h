#pragma once

#include <cstdint>

#include "simulated_actuator.h"
#include "support/frame_literals.h"

namespace velmar::test {

// Frames written out by hand, so a wrong constant in the simulator shows.
const Bytes kVersionRequestCrc = Hex("01 10 05 9C 03"), kStatusRequest = Hex("01 13 05 9C F3");
const Bytes kAckSum = Hex("01 06 04 0B"), kAckCrc = Hex("01 06 05 92 63");
const Bytes kNakSum = Hex("01 07 04 0C"), kNakCrc = Hex("01 07 05 93 F3");
const Bytes kWriteDoneCrc = Hex("01 0E 05 95 A3");

inline void Send(SimulatedActuator& actuator, const Bytes& request, int64_t nowMs) {
  actuator.Input(request.data(), request.size(), nowMs);
}

// Everything the actuator has sent by `nowMs`.
inline Bytes Received(SimulatedActuator& actuator, int64_t nowMs) {
  Bytes out(actuator.Pending(nowMs));
  out.resize(actuator.Take(out.data(), out.size(), nowMs));
  return out;
}

}  // namespace velmar::test
