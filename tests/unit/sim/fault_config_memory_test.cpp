#include "fault_config_memory.h"

#include <gtest/gtest.h>

#include <string>

#include "sim_options.h"

namespace velmar::test {
namespace {

TEST(FaultConfigMemoryTest, FactoryRecordsMatchTheirChecksumRecord) {
  const SimMemory memory;
  EXPECT_EQ(memory.Word(0x500 / 2), 807);         // overcurrent fault 1 at 1000 lbf
  EXPECT_EQ(memory.Word(0x5E0 / 2 + 6), 0x3003);  // EEPROM write fault options
  for (const int spare : {0x5A0, 0x5D0}) {
    for (int word = 0; word < 8; ++word) {
      EXPECT_EQ(memory.Word(spare / 2 + word), 0) << std::hex << spare;
    }
  }
  const uint16_t sum = FaultConfigurationSum(memory);
  EXPECT_NE(sum, 0);
  EXPECT_EQ(memory.Word(0x210 / 2), sum);
  EXPECT_EQ(memory.Word(0x210 / 2 + 1), sum ^ 0xFFFF);
  EXPECT_EQ(memory.Word(0x210 / 2 + 2), (sum + 1) & 0xFFFF);
}

TEST(FaultConfigMemoryTest, LostRequestsOption) {
  const struct {
    std::string value;
    bool valid;
    int after;
    int count;
  } cases[] = {{"6:3", true, 6, 3},   {"0:1000", true, 0, 1000}, {"6", false, 0, 0},
               {"-1:3", false, 0, 0}, {"6:", false, 0, 0},       {"0x6:3", false, 0, 0}};
  for (const auto& c : cases) {
    SimOptions options;
    std::string error;
    const char* argv[] = {"velmar-sim", "--lose-requests", c.value.c_str()};
    EXPECT_EQ(ParseSimOptions(3, argv, options, error),
              c.valid ? ParseOutcome::kRun : ParseOutcome::kError)
        << c.value;
    EXPECT_EQ(options.loseAfter, c.after);
    EXPECT_EQ(options.loseCount, c.count);
  }
}

}  // namespace
}  // namespace velmar::test
