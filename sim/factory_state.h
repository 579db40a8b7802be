#pragma once

#include <cstdint>

#include "sim_memory.h"
#include "simulated_actuator.h"

namespace velmar {

// The text of the demo configuration's setup file the simulated unit is set up with.
extern const char* const kFactorySetupFileText;

// Stores the factory setup, packed for `firmwareVersion` with a valid checksum and the
// identification the memory already holds, as the unit's setup image; erases the fault file.
void StoreFactorySetup(SimMemory& memory, int firmwareVersion);

// Raw counts the tool reads back as `degC` on the curves of `firmwareVersion`: the motor
// thermistors, and the electronics sensor or thermistor the firmware has.
uint16_t MotorCountsAt(int degC, int firmwareVersion);
uint16_t ElectronicsCountsAt(int degC, int firmwareVersion);

}  // namespace velmar
