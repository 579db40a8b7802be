#include "faults/fault_config_record.h"

namespace velmar {

const char* const kFaultKeySuffixes[kFaultRecordWords] = {
    "_HI_LIM", "_LO_LIM", "_HIHI_LIM", "_LOLO_LIM", "_PERSIST1_TM", "_PERSIST2_TM", "_CFG_OPTIONS"};

const std::array<FaultType, kFaultTypeCount> kFaultTypes{{
    {"Overcurrent Fault", 0x500, "OVRCUR", "(lbf)", ValueGroup::kHighOnly, "Overcurrent"},
    {"Tracking Error Fault", 0x510, "TRKERR", "(%)", ValueGroup::kHighOnly, "Tracking Error"},
    {"Pos Demand Fault", 0x520, "POSDMD", "(mA)", ValueGroup::kHighAndLow, "Position Demand"},
    {"RDC Fault", 0x530, "RDCFLT", "", ValueGroup::kFlagsOnly, ""},
    {"+14V Fault", 0x540, "P15V", "(volts)", ValueGroup::kHighAndLow, "+15V"},
    {"-14V Fault", 0x550, "N15V", "(volts)", ValueGroup::kHighAndLow, "-15V"},
    {"+120V Fault", 0x560, "P120V", "(volts)", ValueGroup::kHighAndLow, "+120V"},
    {"EEPROM Checksum Fault", 0x570, "EECK", "", ValueGroup::kFlagsOnly, ""},
    {"Motor Temp Fault", 0x580, "MTEMP", "(deg C)", ValueGroup::kHighOnly, "Motor Temp Fault"},
    {"Electronics Temp Fault", 0x590, "ETEMP", "(deg C)", ValueGroup::kHighOnly,
     "Electronics Temp Fault"},
    {"+5V Fault", 0x5B0, "P5V", "(volts)", ValueGroup::kHighAndLow, "+5V"},
    {"Watchdog Expired Fault", 0x5C0, "WDOG", "", ValueGroup::kFlagsOnly, ""},
    {"EEPROM Write Fault", 0x5E0, "EEWR", "", ValueGroup::kFlagsOnly, ""},
}};

int FaultTypeAt(uint16_t address) {
  for (int index = 0; index < kFaultTypeCount; ++index) {
    if (kFaultTypes[index].address == address) {
      return index;
    }
  }
  return -1;
}

}  // namespace velmar
