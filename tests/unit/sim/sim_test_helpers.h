#pragma once

#include <cstdint>
#include <vector>

#include "link/frame_check.h"
#include "simulated_actuator.h"

namespace velmar::test {

using Bytes = std::vector<uint8_t>;

// The frame with its CRC appended, low byte first.
inline Bytes WithCrc(Bytes frame) {
  const uint16_t crc = Crc16(frame.data(), frame.size());
  frame.push_back(static_cast<uint8_t>(crc & 0xFF));
  frame.push_back(static_cast<uint8_t>(crc >> 8));
  return frame;
}

inline Bytes WithSum(Bytes frame) {
  frame.push_back(Sum8(frame.data(), frame.size()));
  return frame;
}

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
