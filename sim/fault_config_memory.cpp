#include "fault_config_memory.h"

#include <array>

namespace velmar {

namespace {

constexpr size_t kFirstSlotWord = 0x500 / 2;
constexpr size_t kSlotWords = 8;
constexpr size_t kSlotCount = 15;
constexpr size_t kSummedWords = 7;
constexpr size_t kChecksumWord = 0x210 / 2;

struct Slot {
  size_t index;
  std::array<uint16_t, kSummedWords> words;
};

// Raw counts: limits, persist times in 2 ms units, options. Slots 10 and 13 stay blank.
constexpr Slot kFactorySlots[] = {
    {0, {807, 0, 969, 0, 1000, 500, 0x3017}},           // overcurrent 1000 / 1200 lbf
    {1, {49151, 0, 58982, 0, 1000, 1000, 0x3003}},      // tracking error 5.00 / 6.00 %
    {2, {27525, 4981, 28180, 3932, 500, 500, 0x0003}},  // position demand (mA)
    {3, {0, 0, 0, 0, 0, 0, 0x3013}},                    // RDC
    {4, {818, 665, 828, 639, 500, 500, 0x0003}},        // +14 V
    {5, {639, 808, 624, 818, 500, 500, 0x0003}},        // -14 V
    {6, {869, 399, 895, 368, 1000, 500, 0x0003}},       // +120 V
    {7, {0, 0, 0, 0, 0, 0, 0x3003}},                    // EEPROM checksum
    {8, {60, 0, 45, 0, 2500, 1000, 0x3003}},            // motor temperature
    {9, {150, 0, 120, 0, 5000, 1000, 0x3003}},          // electronics temperature
    {11, {687, 562, 712, 537, 500, 500, 0x0003}},       // +5 V
    {12, {0, 0, 0, 0, 0, 0, 0x3003}},                   // watchdog
    {14, {0, 0, 0, 0, 0, 0, 0x3003}},                   // EEPROM write
};

}  // namespace

uint16_t FaultConfigurationSum(const SimMemory& memory) {
  uint16_t sum = 0;
  for (size_t slot = 0; slot < kSlotCount; ++slot) {
    for (size_t word = 0; word < kSummedWords; ++word) {
      sum = static_cast<uint16_t>(sum + memory.Word(kFirstSlotWord + slot * kSlotWords + word));
    }
  }
  return sum;
}

void SeedFaultConfiguration(SimMemory& memory) {
  for (const Slot& slot : kFactorySlots) {
    for (size_t word = 0; word < kSummedWords; ++word) {
      memory.SetWord(kFirstSlotWord + slot.index * kSlotWords + word, slot.words[word]);
    }
  }
  const uint16_t sum = FaultConfigurationSum(memory);
  memory.SetWord(kChecksumWord, sum);
  memory.SetWord(kChecksumWord + 1, static_cast<uint16_t>(sum ^ 0xFFFF));
  memory.SetWord(kChecksumWord + 2, static_cast<uint16_t>(sum + 1));
}

}  // namespace velmar
