#pragma once

#include <cstddef>
#include <cstdint>

namespace velmar {

// CRC-16/ARC (reflected polynomial 0xA001, initial value 0): the check of CRC-mode frames.
uint16_t Crc16(const uint8_t* data, size_t length);

// The CRC-16/ARC register `crc` after feeding it one more byte.
uint16_t Crc16Update(uint16_t crc, uint8_t byte);

// 8-bit additive check of sum-mode frames.
uint8_t Sum8(const uint8_t* data, size_t length);

}  // namespace velmar
