#include "monitor/memory_access.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "simulated_actuator.h"
#include "support/recording_ui.h"
#include "support/sim_serial_driver.h"
#include "support/virtual_clock.h"

namespace velmar {
namespace {

TEST(MemoryNumbers, HexWhereverTheTextHoldsZeroX) {
  const struct {
    const char* text;
    bool number;
    uint16_t value;
  } cases[] = {
      {"31", true, 31},      {"0x1F", true, 0x1F},  {"0x12345", true, 0x2345},
      {"1F0x", true, 0x1F0}, {"70000", true, 4464}, {"-1", true, 0xFFFF},
      {" 12abc", true, 12},  {"0X1F", true, 0},  // only a lower-case "0x" means hexadecimal
      {"", false, 0},        {"abc", false, 0},     {"x1F", false, 0},
      {"0x", true, 0},
  };
  for (const auto& c : cases) {
    uint16_t value = 7;
    EXPECT_EQ(ParseMemoryNumber(c.text, value), c.number) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
}

struct MemoryFixture {
  MemoryFixture() {
    link.OpenPort(1, 19200);
    link.SetCrcMode(true);  // as the version check of a CRC-mode actuator leaves it
  }
  test::VirtualClock clock;
  SimulatedActuator actuator;
  test::SimSerialDriver driver{actuator, clock};
  SerialPort port{driver};
  ActuatorLink link{port, clock};
  test::RecordingUi ui;
  MemoryAccess memory{link, ui};
};

TEST(MemoryAccess, ReadsAndWritesWordsAndReportsFailures) {
  MemoryFixture f;
  f.actuator.Memory().SetWord(0x1F, 0xBEEF);
  std::string data;
  ASSERT_TRUE(f.memory.Read("0x1F", false, data));
  EXPECT_EQ(data, "48879");
  ASSERT_TRUE(f.memory.Read("31", true, data));
  EXPECT_EQ(data, "0xBEEF");

  ASSERT_TRUE(f.memory.Write("0x20", "0x12345"));
  EXPECT_EQ(f.actuator.Memory().Word(0x20), 0x2345);
  ASSERT_TRUE(f.memory.Write("33", "-2"));
  EXPECT_EQ(f.actuator.Memory().Word(33), 0xFFFE);

  // A blank or wordless field writes nothing.
  const size_t sent = f.driver.writes.size();
  EXPECT_FALSE(f.memory.Write("", "5"));
  EXPECT_FALSE(f.memory.Write("0x20", "none"));
  EXPECT_EQ(f.driver.writes.size(), sent);
  EXPECT_EQ(f.actuator.Memory().Word(0x20), 0x2345);

  f.actuator.DropReplies(6);
  EXPECT_FALSE(f.memory.Read("0x1F", true, data));
  EXPECT_EQ(data, "0xBEEF");
  EXPECT_FALSE(f.memory.Write("0x21", "1"));
  const std::string warning = "Warning|Program Error|";
  EXPECT_EQ(f.ui.Messages(), (std::vector<std::string>{warning + MemoryAccess::kNoNumberText,
                                                       warning + MemoryAccess::kNoNumberText,
                                                       warning + "Read Actuator memory error.",
                                                       warning + "Write Actuator memory error."}));
}

}  // namespace
}  // namespace velmar
