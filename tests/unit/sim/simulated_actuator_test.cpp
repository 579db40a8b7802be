#include "simulated_actuator.h"

#include <gtest/gtest.h>

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
  return SimulatedActuator(state);
}

TEST(SimulatedActuatorTest, AnswersEachRequestWithTheExactReply) {
  // Words 4-9: serial 12345, then "LMX4100-".
  const Bytes ident{0x39, 0x30, 0x00, 0x00, 'L', 'M', 'X', '4', '1', '0', '0', '-'};
  const Bytes writeWords = CrcFrame(0x09, {0x00, 0x01, 0x34, 0x12, 0x78, 0x56});
  struct Case {
    const char* name;
    FrameMode mode;
    int firmware;  // major × 256 + minor
    Bytes request, expected;
  };
  const Case cases[] = {
      {"sum version", kSum, 0x30A, {0x01, 0x10, 0x04, 0x15}, {0x01, 0x10, 0x06, 0x03, 0x0A, 0x24}},
      {"crc version", kCrc, 0x30A, kVersionRequestCrc, CrcFrame(0x10, {3, 10})},
      {"sum actuator ignores crc version", kSum, 0x30A, kVersionRequestCrc, {}},
      {"crc actuator ignores sum version", kCrc, 0x30A, SumFrame(0x10), {}},
      {"write enable sum", kSum, 0x200, SumFrame(0x05), kAckSum},
      {"write enable crc", kCrc, 0x30A, CrcFrame(0x05), kAckCrc},
      {"clear faults crc", kCrc, 0x30A, CrcFrame(0x11), kAckCrc},
      {"commit without write enable", kCrc, 0x30A, CrcFrame(0x0A), kNakCrc},
      {"span", kCrc, 0x30A, CrcFrame(0x12), CrcFrame(0x32, {0x78, 0x56, 0x34, 0x12, 0, 0})},
      {"max force to a sum actuator", kSum, 0x200, CrcFrame(0x14), CrcFrame(0x34, {0x27, 0x03})},
      {"run hours 32-bit", kCrc, 0x206, CrcFrame(0x15), CrcFrame(0x35, {0xA0, 0x86, 0x01, 0})},
      {"run hours 16-bit in fours", kCrc, 0x205, CrcFrame(0x15), CrcFrame(0x35, {0xA8, 0x61})},
      {"no run hours before 2.02", kCrc, 0x201, CrcFrame(0x15), {}},
      {"powered hours", kCrc, 0x206, CrcFrame(0x17), CrcFrame(0x37, {0x01, 0, 0, 0x80})},
      {"no powered hours before 2.06", kCrc, 0x205, CrcFrame(0x17), {}},
      {"read words sum", kSum, 0x200, SumFrame(0x0C, {4, 0, 6, 0}), SumFrame(0x0D, ident)},
      {"read words crc", kCrc, 0x30A, CrcFrame(0x0C, {4, 0, 6, 0}), CrcFrame(0x0D, ident)},
      {"read words of the other form", kCrc, 0x30A, SumFrame(0x0C, {4, 0, 6, 0}), {}},
      {"read words count not 6", kSum, 0x200, SumFrame(0x0C, {4, 0, 5, 0}), kNakSum},
      {"read words past the end", kCrc, 0x30A, CrcFrame(0x0C, {0xFB, 0x0F, 6, 0}), kNakCrc},
      {"write words without write enable", kCrc, 0x30A, writeWords, kNakCrc},
      {"read memory word 0xFFFF", kSum, 0x30A, CrcFrame(0x19, {0x09, 0x01}),
       CrcFrame(0x36, {0xFF, 0xFF})},
      {"read memory word out of range", kCrc, 0x30A, CrcFrame(0x19, {0x00, 0x10}), kNakCrc},
      {"write memory word to a sum actuator", kSum, 0x30A, CrcFrame(0x1A, {0, 1, 0x34, 0x12}),
       kAckCrc},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SimulatedActuator actuator = MakeActuator(c.mode, c.firmware);
    Send(actuator, c.request, 1000);
    EXPECT_EQ(Received(actuator, 2000), c.expected);
    EXPECT_EQ(actuator.NextDeliveryMs(), -1);
  }
}

TEST(SimulatedActuatorTest, StatusFrameCarriesEveryFieldInPlace) {
  ActuatorState state;
  state.modeState = ModeState::kRunOn;
  state.status = {{0x0101, 0x0202, 0x0303},
                  0x0404,
                  -2,
                  0x11223344,
                  0x55667788,
                  0x00F3,
                  0x0506,
                  -0x0506,
                  0x0708,
                  0x090A};
  SimulatedActuator actuator(state);
  Send(actuator, kStatusRequest, 1000);
  EXPECT_EQ(Received(actuator, 2000),
            CrcFrame(0x33, {0x01, 0x01, 0x02, 0x02, 0x03, 0x03, 0x04, 0x04, 0xFE, 0xFF,
                            0x22, 0x11, 0x44, 0x33, 0x66, 0x55, 0x88, 0x77, 0xF1, 0x00,
                            0x06, 0x05, 0xFA, 0xFA, 0x08, 0x07, 0x0A, 0x09}));
}

TEST(SimulatedActuatorTest, StateChangingRequestsTakeEffect) {
  SimulatedActuator actuator = MakeActuator(kCrc, 0x30A);
  actuator.State().status.faultBits = 0x0042;
  Send(actuator, CrcFrame(0x11), 1000);
  Send(actuator, CrcFrame(0x16), 1100);
  Send(actuator, CrcFrame(0x1A, {0x00, 0x01, 0x34, 0x12}), 1200);
  EXPECT_EQ(Received(actuator, 2000), Concat(Concat(kAckCrc, kAckCrc), kAckCrc));
  EXPECT_EQ(actuator.State().status.faultBits, 0);
  EXPECT_EQ(actuator.State().runHours, 0u);
  EXPECT_EQ(actuator.Memory().Word(0x100), 0x1234);
  EXPECT_EQ(actuator.ReceivedCodes(), (Bytes{0x11, 0x16, 0x1A}));
}

TEST(SimulatedActuatorTest, WritesPagesAndCommitsOnlyWhileWritesAreEnabled) {
  SimulatedActuator actuator = MakeActuator(kSum, 0x200);
  int commits = 0;
  actuator.SetCommitHandler([&] { ++commits; });
  Send(actuator, SumFrame(0x05), 1000);
  EXPECT_EQ(Received(actuator, 1100), kAckSum);
  // Page 1 (word 6) in sum form.
  Bytes data{0x06, 0x00};
  for (uint8_t i = 0; i < 12; ++i) {
    data.push_back(static_cast<uint8_t>(0xA0 + i));
  }
  Send(actuator, SumFrame(0x09, data), 2000);
  // The acknowledge alone first, the write-done only after the memory write.
  EXPECT_EQ(Received(actuator, 2020), kAckSum);
  EXPECT_EQ(Received(actuator, 2033), Bytes{});
  EXPECT_EQ(Received(actuator, 2040), SumFrame(0x0E));
  EXPECT_EQ(actuator.Memory().ModelNumber(), "\xA0\xA1\xA2\xA3\xA4\xA5\xA6\xA7\xA8\xA9\xAA\xAB");
  EXPECT_TRUE(actuator.HasUncommittedWrites());

  Send(actuator, SumFrame(0x0A), 3000);
  EXPECT_EQ(Received(actuator, 3100), kAckSum);
  EXPECT_EQ(commits, 1);
  EXPECT_EQ(actuator.CommitCount(), 1);
  EXPECT_FALSE(actuator.HasUncommittedWrites());

  // Disabled again: the acknowledge of the disable, then a refusal of the page.
  Send(actuator, SumFrame(0x08), 4000);
  Send(actuator, SumFrame(0x09, data), 4100);
  EXPECT_EQ(Received(actuator, 4200), Concat(kAckSum, kNakSum));
}

TEST(SimulatedActuatorTest, PacesRepliesAtTheLineRate) {
  struct Case {
    int baud;
    Bytes request;
    std::vector<std::pair<int64_t, size_t>> pendingAt;
    int64_t firstDeliveryMs;
  };
  // Request at 1000, 2 ms processing, 520 us per byte at 19200 and 1041 us at 9600.
  const Case cases[] = {
      {19200, kVersionRequestCrc, {{1002, 0}, {1003, 1}, {1005, 5}, {1006, 7}}, 1003},
      {19200, kStatusRequest, {{1018, 30}, {1019, 32}, {1020, 33}}, 1003},
      {9600, kVersionRequestCrc, {{1003, 0}, {1004, 1}, {1009, 6}, {1010, 7}}, 1004},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.baud);
    SimulatedActuator actuator(ActuatorState{}, LineTiming{c.baud});
    Send(actuator, c.request, 1000);
    EXPECT_EQ(actuator.NextDeliveryMs(), c.firstDeliveryMs);
    for (const auto& [time, pending] : c.pendingAt) {
      EXPECT_EQ(actuator.Pending(time), pending) << "at " << time;
    }
  }
}

TEST(SimulatedActuatorTest, AssemblesRequestsFromNoisyPieces) {
  const Bytes& version = kVersionRequestCrc;
  const Bytes reply = CrcFrame(0x10, {3, 10});
  struct Case {
    const char* name;
    std::vector<std::pair<int64_t, Bytes>> pieces;
    Bytes expected;
  };
  const Case cases[] = {
      {"split across calls", {{1000, {0x01, 0x10}}, {1005, {0x05, 0x9C, 0x03}}}, reply},
      {"noise and a stray SOH before", {{1000, Concat({0x00, 0xFF, 0x01}, version)}}, reply},
      {"damaged frame before", {{1000, Concat({0x01, 0x10, 0x05, 0x9C, 0x04}, version)}}, reply},
      {"two requests at once", {{1000, Concat(version, version)}}, Concat(reply, reply)},
      {"broken-off frame forgotten after a gap", {{1000, {1, 0x0C, 9}}, {1050, version}}, reply},
      {"a frame that never completes", {{1000, {0x01, 0x10, 0x05, 0x9C}}}, {}},
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
