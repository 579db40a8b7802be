#pragma once

#include <cstdint>

#include "sim_memory.h"

namespace velmar {

// The fault configuration an actuator leaves the factory with: the thirteen typed slots from
// byte 0x500 filled, the two spare slots blank, and the checksum record at 0x210 matching.
void SeedFaultConfiguration(SimMemory& memory);

// The checksum the record at 0x210 should hold: the 16-bit sum of words 0..6 of all fifteen
// slots.
uint16_t FaultConfigurationSum(const SimMemory& memory);

}  // namespace velmar
