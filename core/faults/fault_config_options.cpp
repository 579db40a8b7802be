#include "faults/fault_config_options.h"

namespace velmar {

namespace {

constexpr uint16_t kFault1ClearMask = 0xAFFE;  // bits 0, 12, 14
constexpr uint16_t kFault2ClearMask = 0x5FED;  // bits 1, 4, 13, 15

}  // namespace

uint16_t EnabledOptionBoxes(ValueGroup group) {
  constexpr uint16_t kFlagBoxes =
      kF1FaultEnable | kF2FaultEnable | kF1OutputEnable | kF2OutputEnable | kF2ShutdownEnable;
  switch (group) {
    case ValueGroup::kHighOnly:
      return kFlagBoxes | kF1AutoReset;
    case ValueGroup::kHighAndLow:
      return kAllOptionBoxes;
    case ValueGroup::kFlagsOnly:
      return kFlagBoxes;
  }
  return 0;
}

uint16_t BuildCfgOptions(ValueGroup group, uint16_t checkedBoxes) {
  auto options =
      static_cast<uint16_t>(checkedBoxes & kAllOptionBoxes & ~(kF1FaultEnable | kF2FaultEnable));
  options = (checkedBoxes & kF1FaultEnable) ? options | kF1FaultEnable : options & kFault1ClearMask;
  options = (checkedBoxes & kF2FaultEnable) ? options | kF2FaultEnable : options & kFault2ClearMask;
  if (group != ValueGroup::kHighAndLow) {
    if (options & kF1FaultEnable) {
      options |= kF1HighAlarm;
    }
    if (options & kF2FaultEnable) {
      options |= kF2HighAlarm;
    }
  }
  return options;
}

}  // namespace velmar
