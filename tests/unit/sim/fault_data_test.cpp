#include "fault_data.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "sim_options.h"
#include "sim_test_helpers.h"

namespace velmar::test {
namespace {

TEST(SimFaultData, OptionsStoreRecordsAndTheFaultFile) {
  const char* args[] = {"velmar-sim", "--log-record", "16:code=110", "--log-record",
                        "1",          "--fault-file", "flags=3",     "--fail-log-slot",
                        "2"};
  SimOptions options;
  std::string error;
  ASSERT_EQ(ParseSimOptions(9, args, options, error), ParseOutcome::kRun) << error;
  EXPECT_EQ(options.state.failingLogSlot, 1);
  SimMemory memory;
  ApplyFaultData(options, memory);
  EXPECT_EQ(memory.Word(0x300 + 15 * 32 + 21), 110);
  EXPECT_EQ(memory.Word(0x300), 2024);
  EXPECT_EQ(memory.Word(0x205), 3);
  // The date's day shares its word with the hour, the time's minute with the second.
  FaultFileWords file{};
  ASSERT_TRUE(ParseFaultFile("time=10:20:30,date=2024-03-15", file, error)) << error;
  EXPECT_EQ(file[2], 10 | 15 << 8);
  EXPECT_EQ(file[3], 30 | 20 << 8);
  for (const char* bad : {"0:code=1", "17:code=1", "x:code=1", "1:colour=red"}) {
    const char* badArgs[] = {"velmar-sim", "--log-record", bad};
    EXPECT_EQ(ParseSimOptions(3, badArgs, options, error), ParseOutcome::kError) << bad;
  }
}

// WriteWords of three zero words at `word`, CRC form.
Bytes WriteThreeWords(uint16_t word) {
  char address[8];
  std::snprintf(address, sizeof address, "%02X %02X", word & 0xFF, word >> 8);
  return Crc(0x09, std::string(address) + " 00 00 00 00 00 00");
}

TEST(SimFaultData, TheLogIsWrittenWithoutWriteEnableUnlessASlotIsMadeToFail) {
  // First word written, failing slot, whether the actuator takes it.
  const std::tuple<uint16_t, int, bool> cases[] = {
      {0x300, -1, true},  {0x4FD, -1, true}, {0x2FF, -1, false},  // straddles the log's start
      {0x200, -1, false}, {0x320, 1, false}, {0x33E, 1, false},   // ends in the failing slot
      {0x300, 1, true},
  };
  for (const auto& [word, failingSlot, taken] : cases) {
    SCOPED_TRACE(word);
    SimulatedActuator actuator;
    actuator.State().failingLogSlot = failingSlot;
    actuator.Memory().SetWord(word, 0x1234);
    Send(actuator, WriteThreeWords(word), 0);
    EXPECT_EQ(Received(actuator, 100), taken ? Join({kAckCrc, kWriteDoneCrc}) : kNakCrc);
    EXPECT_EQ(actuator.Memory().Word(word) == 0, taken);
  }
}

TEST(SimFaultData, ClearFaultsErasesTheFaultFileOfOlderFirmware) {
  for (const uint8_t major : {2, 3}) {
    SimulatedActuator actuator;
    actuator.State().firmwareMajor = major;
    actuator.Memory().SetWord(0x200, 2024);
    Send(actuator, Hex("01 11 05 9D 93"), 0);
    EXPECT_EQ(Received(actuator, 100), kAckCrc);
    EXPECT_EQ(actuator.Memory().Word(0x200), major == 2 ? 0xFFFF : 2024);
    EXPECT_EQ(actuator.Memory().Word(0x210), major == 2 ? 0xFFFF : 0);
  }
}

}  // namespace
}  // namespace velmar::test
