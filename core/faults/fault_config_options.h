#pragma once

#include <cstdint>

#include "faults/fault_config_record.h"

namespace velmar {

// The dialog's ten check boxes, each named by the CFG_OPTIONS bit it stands for. Bits 6-11 have
// no box and are written as 0.
enum OptionBox : uint16_t {
  kF1FaultEnable = 0x0001,
  kF2FaultEnable = 0x0002,
  kF1OutputEnable = 0x0004,
  kF2OutputEnable = 0x0008,
  kF2ShutdownEnable = 0x0010,
  kF1AutoReset = 0x0020,
  kF1HighAlarm = 0x1000,
  kF2HighAlarm = 0x2000,
  kF1LowAlarm = 0x4000,
  kF2LowAlarm = 0x8000,
};
inline constexpr uint16_t kAllOptionBoxes = 0xF03F;

// The boxes a Read enables for the type's value group.
uint16_t EnabledOptionBoxes(ValueGroup group);

// CFG_OPTIONS from the boxes' checked states (disabled boxes count with the state they show):
// an unchecked Fault Enable clears its fault's alarm (and, for Fault 2, shutdown) bits, and the
// types without alarm boxes raise their high alarm bit with their Fault Enable.
uint16_t BuildCfgOptions(ValueGroup group, uint16_t checkedBoxes);

}  // namespace velmar
