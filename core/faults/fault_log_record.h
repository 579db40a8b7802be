#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace velmar {

// One fault log slot as read from EEPROM: the first 24 little-endian words of its 64 bytes.
struct FaultLogRecord {
  static constexpr int kSlots = 16;
  static constexpr int kSlotBytes = 64;
  static constexpr int kWords = 24;
  static constexpr uint16_t kFirstSlotAddress = 0x600;
  static constexpr uint16_t kLastSlotAddress = kFirstSlotAddress + (kSlots - 1) * kSlotBytes;

  // A slot holds a record when its year is 2000..2099 and its month 1..12.
  bool IsPresent() const;

  std::array<uint16_t, kWords> words{};
};

// The nineteen fields the fault log shows, in dialog order.
constexpr int kFaultLogFields = 19;
using FaultLogTexts = std::array<std::string, kFaultLogFields>;

// The dialog's field labels, in the same order.
extern const std::array<const char*, kFaultLogFields> kFaultLogLabels;

// The fault type of a fault code ("Undefined Type" for a code not in the table) and its level:
// "1" below 1000, "2" from 1000 on.
const char* FaultTypeText(int faultCode);
const char* FaultLevelText(int faultCode);

// The texts of the record in slot `slot` (0..15).
FaultLogTexts FaultLogRecordTexts(const FaultLogRecord& record, int slot);

}  // namespace velmar
