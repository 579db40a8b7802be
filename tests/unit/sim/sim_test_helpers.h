#pragma once

#include <cstdint>
#include <vector>

#include "simulated_actuator.h"
#include "support/scripted_serial_driver.h"

namespace velmar::test {

const Bytes kVersionRequestCrc{0x01, 0x10, 0x05, 0x9C, 0x03};
const Bytes kStatusRequest{0x01, 0x13, 0x05, 0x9C, 0xF3};
const Bytes kAckSum{0x01, 0x06, 0x04, 0x0B};
const Bytes kAckCrc{0x01, 0x06, 0x05, 0x92, 0x63};
const Bytes kNakSum{0x01, 0x07, 0x04, 0x0C};
const Bytes kNakCrc{0x01, 0x07, 0x05, 0x93, 0xF3};
const Bytes kWriteDoneCrc{0x01, 0x0E, 0x05, 0x95, 0xA3};

inline Bytes Concat(Bytes first, const Bytes& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

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
