#include "simulated_actuator.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "sim_test_helpers.h"

namespace velmar::test {
namespace {

constexpr auto kSum = FrameMode::kSum;
constexpr auto kCrc = FrameMode::kCrc;

SimulatedActuator MakeActuator(FrameMode mode, int firmware) {
  ActuatorState state;
  state.frameMode = mode;
  state.firmwareMajor = static_cast<uint8_t>(firmware >> 8);
  state.firmwareMinor = static_cast<uint8_t>(firmware & 0xFF);
  state.span = 0x12345678;
  state.runHours = 100000;
  state.poweredHours = 0x80000001;
  state.modeState = ModeState::kRunOn;
  const std::array<uint16_t, 3> motorTemperatures = {0x0101, 0x0202, 0x0303};
  state.status = {motorTemperatures, 0x0404, -2,    0x11223344, 0x55667788, 0x00F3, 0x0506,
                  -0x0506,           0x0708, 0x090A};
  return SimulatedActuator(state);
}

TEST(SimulatedActuatorTest, AnswersEachRequestWithTheExactReply) {
  const std::string ident = "39 30 00 00 4C 4D 58 34 31 30 30 2D";  // 12345, "LMX4100-"
  const Bytes writeWords = Crc(0x09, "00 01 34 12 78 56"), ident6 = Sum(0x0C, "04 00 06 00");
  // Every status field in place; the flags carry the mode state in bits 0-1.
  const Bytes status = Crc(0x33,
                           "01 01 02 02 03 03 04 04 FE FF 22 11 44 33 66 55 88 77 F1 00 "
                           "06 05 FA FA 08 07 0A 09");
  struct Case {
    const char* name;
    FrameMode mode;
    int firmware;  // major × 256 + minor
    Bytes request, expected;
  };
  const Case cases[] = {
      {"sum version", kSum, 0x30A, Sum(0x10), Hex("01 10 06 03 0A 24")},
      {"crc version", kCrc, 0x30A, kVersionRequestCrc, Crc(0x10, "03 0A")},
      {"sum actuator ignores crc version", kSum, 0x30A, kVersionRequestCrc, {}},
      {"crc actuator ignores sum version", kCrc, 0x30A, Sum(0x10), {}},
      {"write enable sum", kSum, 0x200, Sum(0x05), kAckSum},
      {"write enable crc", kCrc, 0x30A, Crc(0x05), kAckCrc},
      {"clear faults crc", kCrc, 0x30A, Crc(0x11), kAckCrc},
      {"commit without write enable", kCrc, 0x30A, Crc(0x0A), kNakCrc},
      {"status", kCrc, 0x30A, kStatusRequest, status},
      {"span", kCrc, 0x30A, Crc(0x12), Crc(0x32, "78 56 34 12 00 00")},
      {"max force to a sum actuator", kSum, 0x200, Crc(0x14), Crc(0x34, "27 03")},
      {"run hours 32-bit", kCrc, 0x206, Crc(0x15), Crc(0x35, "A0 86 01 00")},
      {"run hours 16-bit in fours", kCrc, 0x205, Crc(0x15), Crc(0x35, "A8 61")},
      {"no run hours before 2.02", kCrc, 0x201, Crc(0x15), {}},
      {"powered hours", kCrc, 0x206, Crc(0x17), Crc(0x37, "01 00 00 80")},
      {"no powered hours before 2.06", kCrc, 0x205, Crc(0x17), {}},
      {"read words sum", kSum, 0x200, ident6, Sum(0x0D, ident)},
      {"read words crc", kCrc, 0x30A, Crc(0x0C, "04 00 06 00"), Crc(0x0D, ident)},
      {"read words of the other form", kCrc, 0x30A, ident6, {}},
      {"read words count not 6", kSum, 0x200, Sum(0x0C, "04 00 05 00"), kNakSum},
      {"read words past the end", kCrc, 0x30A, Crc(0x0C, "FB 0F 06 00"), kNakCrc},
      {"write words without write enable", kCrc, 0x30A, writeWords, kNakCrc},
      // The factory fault configuration's checksum complement.
      {"read memory word 0x61C6", kSum, 0x30A, Crc(0x19, "09 01"), Crc(0x36, "C6 61")},
      {"read memory word out of range", kCrc, 0x30A, Crc(0x19, "00 10"), kNakCrc},
      {"write memory word to a sum actuator", kSum, 0x30A, Crc(0x1A, "00 01 34 12"), kAckCrc},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SimulatedActuator actuator = MakeActuator(c.mode, c.firmware);
    Send(actuator, c.request, 1000);
    EXPECT_EQ(Received(actuator, 2000), c.expected);
    EXPECT_EQ(actuator.NextDeliveryMs(), -1);
  }
}

TEST(SimulatedActuatorTest, StateChangingRequestsTakeEffect) {
  SimulatedActuator actuator = MakeActuator(kCrc, 0x30A);
  actuator.State().status.faultBits = 0x0042;
  Send(actuator, Crc(0x11), 1000);
  Send(actuator, Crc(0x16), 1100);
  Send(actuator, Crc(0x1A, "00 01 34 12"), 1200);
  EXPECT_EQ(Received(actuator, 2000), Join({kAckCrc, kAckCrc, kAckCrc}));
  EXPECT_EQ(actuator.State().status.faultBits, 0);
  EXPECT_EQ(actuator.State().runHours, 0u);
  EXPECT_EQ(actuator.Memory().Word(0x100), 0x1234);
  EXPECT_EQ(actuator.ReceivedCodes(), Hex("11 16 1A"));
}

TEST(SimulatedActuatorTest, WritesPagesAndCommitsOnlyWhileWritesAreEnabled) {
  SimulatedActuator actuator = MakeActuator(kSum, 0x200);
  int commits = 0;
  actuator.SetCommitHandler([&] { ++commits; });
  Send(actuator, Sum(0x05), 1000);
  EXPECT_EQ(Received(actuator, 1100), kAckSum);
  const Bytes page1 = Sum(0x09, "06 00 A0 A1 A2 A3 A4 A5 A6 A7 A8 A9 AA AB");  // words 6..11
  Send(actuator, page1, 2000);
  // The acknowledge alone first, the write-done only after the memory write.
  EXPECT_EQ(Received(actuator, 2020), kAckSum);
  EXPECT_EQ(Received(actuator, 2033), Bytes{});
  EXPECT_EQ(Received(actuator, 2040), Sum(0x0E));
  EXPECT_EQ(actuator.Memory().ModelNumber(), "\xA0\xA1\xA2\xA3\xA4\xA5\xA6\xA7\xA8\xA9\xAA\xAB");
  EXPECT_TRUE(actuator.HasUncommittedWrites());

  Send(actuator, Sum(0x0A), 3000);
  EXPECT_EQ(Received(actuator, 3100), kAckSum);
  EXPECT_EQ(commits, 1);
  EXPECT_EQ(actuator.CommitCount(), 1);
  EXPECT_FALSE(actuator.HasUncommittedWrites());

  // Disabled again: the acknowledge of the disable, then a refusal of the page.
  Send(actuator, Sum(0x08), 4000);
  Send(actuator, page1, 4100);
  EXPECT_EQ(Received(actuator, 4200), Join({kAckSum, kNakSum}));
}

TEST(SimulatedActuatorTest, AssemblesRequestsFromNoisyPieces) {
  const Bytes& version = kVersionRequestCrc;
  const Bytes reply = Crc(0x10, "03 0A");
  struct Case {
    const char* name;
    std::vector<std::pair<int64_t, Bytes>> pieces;
    Bytes expected;
  };
  const Case cases[] = {
      {"split across calls", {{1000, Hex("01 10")}, {1005, Hex("05 9C 03")}}, reply},
      {"noise and a stray SOH before", {{1000, Join({Hex("00 FF 01"), version})}}, reply},
      {"damaged frame before", {{1000, Join({Hex("01 10 05 9C 04"), version})}}, reply},
      {"two requests at once", {{1000, Join({version, version})}}, Join({reply, reply})},
      {"broken-off frame forgotten after a gap", {{1000, Hex("01 0C 09")}, {1050, version}}, reply},
      {"a frame that never completes", {{1000, Hex("01 10 05 9C")}}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SimulatedActuator actuator;
    for (const auto& [atMs, bytes] : c.pieces) {
      Send(actuator, bytes, atMs);
    }
    EXPECT_EQ(Received(actuator, 5000), c.expected);
  }
}

}  // namespace
}  // namespace velmar::test
