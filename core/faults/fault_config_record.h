#pragma once

#include <array>
#include <cstdint>

namespace velmar {

// One fault configuration record as the program writes it: words 0..6 of a 16-byte EEPROM slot
// (word 7 is spare, never written and not summed). Every word has its field, in this order; the
// file keys follow the same order.
enum FaultField { kF1High, kF1Low, kF2High, kF2Low, kPersist1, kPersist2, kCfgOptions };
inline constexpr int kFaultRecordWords = 7;
// The fields with an edit box in the dialog: the four limits and the two persist times.
inline constexpr int kFaultValueFields = 6;

// The file key of a word is the type's key prefix followed by the word's suffix.
extern const char* const kFaultKeySuffixes[kFaultRecordWords];

struct FaultConfigRecord {
  std::array<uint16_t, kFaultRecordWords> words{};
};

// A slot read fetches nine words: the record, the spare word and the next slot's first word.
inline constexpr int kFaultSlotReadWords = 9;
using FaultSlotWords = std::array<uint16_t, kFaultSlotReadWords>;

// Fifteen slots from 0x500, thirteen of them owned by a fault type; all fifteen are summed into
// the checksum record [S, S XOR 0xFFFF, S + 1] at 0x210.
inline constexpr uint16_t kFirstFaultSlot = 0x500;
inline constexpr uint16_t kFaultSlotBytes = 0x10;
inline constexpr int kFaultSlotCount = 15;
inline constexpr uint16_t kFaultChecksumAddress = 0x210;
inline constexpr uint16_t kHighestEepromAddress = 0x1FFF;

enum class ValueGroup { kHighOnly, kHighAndLow, kFlagsOnly };

// The thirteen entries of the "Fault Type" list, in list order.
enum FaultTypeIndex {
  kOvercurrent,
  kTrackingError,
  kPosDemand,
  kRdc,
  kPlus14V,
  kMinus14V,
  kPlus120V,
  kEepromChecksum,
  kMotorTemp,
  kElecTemp,
  kPlus5V,
  kWatchdog,
  kEepromWrite,
};
inline constexpr int kFaultTypeCount = 13;

struct FaultType {
  const char* listText;
  uint16_t address;
  const char* keyPrefix;
  const char* unitLabel;  // empty for the flags-only types
  ValueGroup group;
  const char* loadName;  // the type in the file load's messages; empty for flags-only types
};

extern const std::array<FaultType, kFaultTypeCount> kFaultTypes;

// The list index of the type whose record lies at `address`, or -1.
int FaultTypeAt(uint16_t address);

}  // namespace velmar
