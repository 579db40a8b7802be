#pragma once

#include <cstdint>

namespace velmar {

// The actuator's live state as one status frame reports it, 16-bit values as received. The
// member defaults are the values shown while no status reply comes.
struct StatusReading {
  uint16_t motorTemp1Raw = 0x3FF;
  uint16_t motorTemp2Raw = 0x3FF;
  uint16_t motorTemp3Raw = 0x3FF;
  uint16_t elecTempRaw = 0x3FF;
  int16_t motorCurrentRaw = 0;
  int32_t demandRaw = 0;
  // The high word of `demandRaw`: the demand input of firmware 3.00 and later.
  uint16_t demandInputRaw = 0;
  int32_t positionRaw = 0;
  // Bits 0-1 of the status flags: 0 run off, 1 run on, 2 reset; 3 no mode.
  int32_t mode = 3;
  int16_t plus14Raw = 0;
  int16_t minus14Raw = 0;
  int16_t plus120Raw = 0;
  uint16_t faultBits = 0;
};

inline constexpr int kStatusFrameLength = 33;
inline constexpr uint8_t kStatusReplyCode = 0x33;

// The values of a 33-byte status frame whose check has passed.
StatusReading DecodeStatusFrame(const uint8_t* frame);

// Whether a checked frame is a whole status reply (SOH, code 0x33, LEN 33); other frames carry no
// values, and a shorter frame with the status code would have its values read from beyond it.
bool IsStatusReply(const uint8_t* frame);

}  // namespace velmar
