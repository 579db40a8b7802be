#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "sim_memory.h"

namespace velmar {

// Where the actuator keeps its fault data, in words: the fault file of firmware 2.00 up to 3.00
// and the sixteen 32-word fault log slots of firmware 3.00 and later.
inline constexpr size_t kFaultFileWord = 0x200;
inline constexpr size_t kFaultFileWords = 17;
inline constexpr size_t kFaultLogWord = 0x300;
inline constexpr size_t kLogSlotWords = 32;
inline constexpr int kLogSlots = 16;
inline constexpr size_t kLogRecordWords = 24;

using LogRecordWords = std::array<uint16_t, kLogRecordWords>;
using FaultFileWords = std::array<uint16_t, kFaultFileWords>;

// Readable values as "FIELD=VALUE,..." into the words of a log record or the fault file; fields
// not given keep a plausible default. False with the reason in `error`.
//   log record: date=YYYY-MM-DD code=N firmware=M.m motor1= motor2= motor3= elec= current=
//               demand= feedback= velocity= p14= m14= p120= (raw counts) run-hours= powered-hours=
//   fault file: date=YYYY-MM-DD time=HH:MM:SS firmware=M.m flags=N motor1= motor2= motor3= elec=
//               current= demand= feedback= velocity= p14= m14= p120= (raw counts)
bool ParseLogRecord(const std::string& text, LogRecordWords& words, std::string& error);
bool ParseFaultFile(const std::string& text, FaultFileWords& words, std::string& error);

// Whether the word lies in the fault log.
bool InFaultLog(size_t word);
// The log slot (0..15) holding `word`; only for words of the fault log.
int LogSlotOf(size_t word);

void StoreLogRecord(SimMemory& memory, int slot, const LogRecordWords& words);
void StoreFaultFile(SimMemory& memory, const FaultFileWords& words);
// An erased fault file reads 0xFFFF throughout.
void EraseFaultFile(SimMemory& memory);

}  // namespace velmar
