#pragma once

#include <cstdint>

namespace velmar {

// The scalings of the raw readings the fault log and the fault file keep: motor current in whole
// amps (truncated), the +14 V and -14 V supplies and the +120 V supply in volts.
inline int MotorCurrentAmps(int16_t counts) {
  return static_cast<int>(counts * 25 * 0.0009775171 + 0.5);
}
inline double Supply14Volts(int16_t counts) {
  return counts * 15.0 / 767;
}
inline double Supply120Volts(int16_t counts) {
  return counts * 160.0 / 818;
}

}  // namespace velmar
