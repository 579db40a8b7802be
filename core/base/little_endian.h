#pragma once

#include <cstdint>

namespace velmar {

// Frames, the setup page image and the configuration archive all store multi-byte values low
// byte first.

inline uint16_t ReadLe16(const uint8_t* bytes) {
  return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

inline uint32_t ReadLe32(const uint8_t* bytes) {
  return ReadLe16(bytes) | (static_cast<uint32_t>(ReadLe16(bytes + 2)) << 16);
}

inline void WriteLe16(uint8_t* bytes, uint16_t value) {
  bytes[0] = static_cast<uint8_t>(value & 0xFF);
  bytes[1] = static_cast<uint8_t>(value >> 8);
}

inline void WriteLe32(uint8_t* bytes, uint32_t value) {
  WriteLe16(bytes, static_cast<uint16_t>(value));
  WriteLe16(bytes + 2, static_cast<uint16_t>(value >> 16));
}

}  // namespace velmar
