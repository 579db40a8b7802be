#pragma once

#include <cstdint>

#include "faults/fault_config_record.h"
#include "link/actuator_link.h"
#include "ports/clock.h"
#include "ports/ui.h"

namespace velmar {

// What the fault configuration operations work with.
struct FaultConfigPorts {
  ActuatorLink& link;
  Clock& clock;
  Ui& ui;
};

inline constexpr const char* kProgramStatusCaption = "Program Status";
inline constexpr const char* kProgramErrorCaption = "Program Error";

// Asks for the status; a missing reply or a unit outside its RESET state is refused with its
// warning. True when the records may be read or written.
bool FaultConfigResetCheck(FaultConfigPorts& ports);

// Sums words 0..6 of all fifteen slots inside its own status window (progress 6 per slot).
// False when a slot could not be read; a real sum of 0 is a success.
bool ComputeFaultConfigChecksum(FaultConfigPorts& ports, uint16_t& sum);

// Writes a record as three WriteRecordWords at +0 (words 0-2), +6 (3-5) and +8 (4-6), each after
// a 100 ms pause; words 4 and 5 go twice. kSuccess, or the failing write's result.
LinkResult WriteFaultRecord(FaultConfigPorts& ports, uint16_t address,
                            const FaultConfigRecord& record);

// Writes [S, S XOR 0xFFFF, S + 1] at 0x210; WriteRecordWords' result.
LinkResult WriteFaultChecksumRecord(ActuatorLink& link, uint16_t sum);

}  // namespace velmar
