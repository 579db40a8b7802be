#pragma once

#include <cstdint>
#include <initializer_list>
#include <sstream>
#include <string>

#include "support/scripted_serial_driver.h"

namespace velmar::test {

// Bytes written as space-separated hex pairs: Hex("01 10 05 9C 03").
inline Bytes Hex(const std::string& text) {
  std::istringstream in(text);
  Bytes bytes;
  for (unsigned byte = 0; in >> std::hex >> byte;) {
    bytes.push_back(static_cast<uint8_t>(byte));
  }
  return bytes;
}

// Whole frames around hex data: Crc(0x36, "FF FF").
inline Bytes Sum(uint8_t code, const std::string& data = "") {
  return SumFrame(code, Hex(data));
}
inline Bytes Crc(uint8_t code, const std::string& data = "") {
  return CrcFrame(code, Hex(data));
}

inline Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes joined;
  for (const Bytes& part : parts) {
    joined.insert(joined.end(), part.begin(), part.end());
  }
  return joined;
}

}  // namespace velmar::test
