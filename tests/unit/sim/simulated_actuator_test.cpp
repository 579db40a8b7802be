#include "simulated_actuator.h"

#include <gtest/gtest.h>

#include "sim_test_helpers.h"

namespace velmar::test {
namespace {

const Bytes kAckSum{0x01, 0x06, 0x04, 0x0B};
const Bytes kAckCrc{0x01, 0x06, 0x05, 0x92, 0x63};
const Bytes kNakSum{0x01, 0x07, 0x04, 0x0C};
const Bytes kNakCrc{0x01, 0x07, 0x05, 0x93, 0xF3};
const Bytes kWriteDoneCrc{0x01, 0x0E, 0x05, 0x95, 0xA3};
const Bytes kNone{};

struct ReplyCase {
  const char* name;
  FrameMode mode;
  int firmware;  // major × 256 + minor
  Bytes request;
  Bytes expected;
};

SimulatedActuator MakeActuator(FrameMode mode, int firmware) {
  ActuatorState state;
  state.frameMode = mode;
  state.firmwareMajor = static_cast<uint8_t>(firmware >> 8);
  state.firmwareMinor = static_cast<uint8_t>(firmware & 0xFF);
  state.span = 0x12345678;
  state.maxForce = 807;
  state.runHours = 100000;
  state.poweredHours = 0x80000001;
  return SimulatedActuator(state);
}

TEST(SimulatedActuatorTest, AnswersEachRequestWithTheExactReply) {
  constexpr auto kSum = FrameMode::kSum;
  constexpr auto kCrc = FrameMode::kCrc;
  // Words 4-9: serial 12345, then "LMX4100-".
  const Bytes identData{0x39, 0x30, 0x00, 0x00, 'L', 'M', 'X', '4', '1', '0', '0', '-'};
  Bytes sumWords{0x01, 0x0D, 0x10};
  sumWords.insert(sumWords.end(), identData.begin(), identData.end());
  Bytes crcWords = sumWords;
  crcWords[2] = 0x11;
  const ReplyCase cases[] = {
      {"sum version", kSum, 0x30A, {0x01, 0x10, 0x04, 0x15}, {0x01, 0x10, 0x06, 0x03, 0x0A, 0x24}},
      {"crc version",
       kCrc,
       0x30A,
       {0x01, 0x10, 0x05, 0x9C, 0x03},
       WithCrc({0x01, 0x10, 0x07, 3, 10})},
      {"sum actuator ignores crc version", kSum, 0x30A, {0x01, 0x10, 0x05, 0x9C, 0x03}, kNone},
      {"crc actuator ignores sum version", kCrc, 0x30A, {0x01, 0x10, 0x04, 0x15}, kNone},
      {"bad check", kCrc, 0x30A, {0x01, 0x10, 0x05, 0x9C, 0x04}, kNone},
      {"write enable sum", kSum, 0x200, {0x01, 0x05, 0x04, 0x0A}, kAckSum},
      {"write enable crc", kCrc, 0x30A, {0x01, 0x05, 0x05, 0x92, 0x93}, kAckCrc},
      {"write disable crc", kCrc, 0x30A, {0x01, 0x08, 0x05, 0x96, 0x03}, kAckCrc},
      {"prepare upload sum", kSum, 0x200, {0x01, 0x0B, 0x04, 0x10}, kAckSum},
      {"clear faults crc", kCrc, 0x30A, {0x01, 0x11, 0x05, 0x9D, 0x93}, kAckCrc},
      {"commit without write enable", kCrc, 0x30A, {0x01, 0x0A, 0x05, 0x97, 0x63}, kNakCrc},
      {"span",
       kCrc,
       0x30A,
       {0x01, 0x12, 0x05, 0x9D, 0x63},
       WithCrc({0x01, 0x32, 0x0B, 0x78, 0x56, 0x34, 0x12, 0x00, 0x00})},
      {"max force to a sum actuator",
       kSum,
       0x200,
       {0x01, 0x14, 0x05, 0x9E, 0xC3},
       WithCrc({0x01, 0x34, 0x07, 0x27, 0x03})},
      {"run hours 32-bit",
       kCrc,
       0x206,
       {0x01, 0x15, 0x05, 0x9F, 0x53},
       WithCrc({0x01, 0x35, 0x09, 0xA0, 0x86, 0x01, 0x00})},
      {"run hours 16-bit in units of four",
       kCrc,
       0x205,
       {0x01, 0x15, 0x05, 0x9F, 0x53},
       WithCrc({0x01, 0x35, 0x07, 0xA8, 0x61})},
      {"no run hours before 2.02", kCrc, 0x201, {0x01, 0x15, 0x05, 0x9F, 0x53}, kNone},
      {"reset run hours", kCrc, 0x202, {0x01, 0x16, 0x05, 0x9F, 0xA3}, kAckCrc},
      {"powered hours",
       kCrc,
       0x206,
       {0x01, 0x17, 0x05, 0x9E, 0x33},
       WithCrc({0x01, 0x37, 0x09, 0x01, 0x00, 0x00, 0x80})},
      {"no powered hours before 2.06", kCrc, 0x205, {0x01, 0x17, 0x05, 0x9E, 0x33}, kNone},
      {"read words sum", kSum, 0x200, WithSum({0x01, 0x0C, 0x08, 0x04, 0x00, 0x06, 0x00}),
       WithSum(sumWords)},
      {"read words crc", kCrc, 0x30A, WithCrc({0x01, 0x0C, 0x09, 0x04, 0x00, 0x06, 0x00}),
       WithCrc(crcWords)},
      {"read words of the other form", kCrc, 0x30A,
       WithSum({0x01, 0x0C, 0x08, 0x04, 0x00, 0x06, 0x00}), kNone},
      {"read words count not 6", kSum, 0x200, WithSum({0x01, 0x0C, 0x08, 0x04, 0x00, 0x05, 0x00}),
       kNakSum},
      {"read words past the end", kCrc, 0x30A, WithCrc({0x01, 0x0C, 0x09, 0xFB, 0x0F, 0x06, 0x00}),
       kNakCrc},
      {"write words without write enable", kCrc, 0x30A,
       WithCrc({0x01, 0x09, 0x0B, 0x00, 0x01, 0x34, 0x12, 0x78, 0x56}), kNakCrc},
      {"read memory word 0xFFFF", kSum, 0x30A, WithCrc({0x01, 0x19, 0x07, 0x09, 0x01}),
       WithCrc({0x01, 0x36, 0x07, 0xFF, 0xFF})},
      {"read memory word out of range", kCrc, 0x30A, WithCrc({0x01, 0x19, 0x07, 0x00, 0x10}),
       kNakCrc},
      {"write memory word to a sum actuator", kSum, 0x30A,
       WithCrc({0x01, 0x1A, 0x09, 0x00, 0x01, 0x34, 0x12}), kAckCrc},
  };
  for (const ReplyCase& c : cases) {
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
  Send(actuator, {0x01, 0x13, 0x05, 0x9C, 0xF3}, 1000);
  const Bytes expected = WithCrc({0x01, 0x33, 0x21, 0x01, 0x01, 0x02, 0x02, 0x03, 0x03, 0x04, 0x04,
                                  0xFE, 0xFF, 0x22, 0x11, 0x44, 0x33, 0x66, 0x55, 0x88, 0x77, 0xF1,
                                  0x00, 0x06, 0x05, 0xFA, 0xFA, 0x08, 0x07, 0x0A, 0x09});
  EXPECT_EQ(Received(actuator, 2000), expected);
}

TEST(SimulatedActuatorTest, StateChangingRequestsTakeEffect) {
  SimulatedActuator actuator = MakeActuator(FrameMode::kCrc, 0x30A);
  actuator.State().status.faultBits = 0x0042;
  Send(actuator, {0x01, 0x11, 0x05, 0x9D, 0x93}, 1000);
  Send(actuator, {0x01, 0x16, 0x05, 0x9F, 0xA3}, 1100);
  Send(actuator, WithCrc({0x01, 0x1A, 0x09, 0x00, 0x01, 0x34, 0x12}), 1200);
  EXPECT_EQ(actuator.State().status.faultBits, 0);
  EXPECT_EQ(actuator.State().runHours, 0u);
  EXPECT_EQ(actuator.Memory().Word(0x100), 0x1234);
  EXPECT_EQ(actuator.ReceivedCodes(), (Bytes{0x11, 0x16, 0x1A}));
}

TEST(SimulatedActuatorTest, WritesPagesAndCommitsOnlyWhileWritesAreEnabled) {
  SimulatedActuator actuator = MakeActuator(FrameMode::kSum, 0x200);
  int commits = 0;
  actuator.SetCommitHandler([&] { ++commits; });
  Send(actuator, {0x01, 0x05, 0x04, 0x0A}, 1000);
  EXPECT_EQ(Received(actuator, 1100), kAckSum);

  // Page 1 (word 6), sum form: LEN 0x12.
  Bytes page{0x01, 0x09, 0x12, 0x06, 0x00};
  for (uint8_t i = 0; i < 12; ++i) {
    page.push_back(static_cast<uint8_t>(0xA0 + i));
  }
  Send(actuator, WithSum(page), 2000);
  // The acknowledge alone first, the write-done only after the memory write.
  EXPECT_EQ(Received(actuator, 2020), kAckSum);
  EXPECT_EQ(Received(actuator, 2033), kNone);
  EXPECT_EQ(Received(actuator, 2040), (Bytes{0x01, 0x0E, 0x04, 0x13}));
  EXPECT_EQ(actuator.Memory().Word(6), 0xA1A0);
  EXPECT_EQ(actuator.Memory().Word(11), 0xABAA);
  EXPECT_EQ(actuator.Memory().ModelNumber(), "\xA0\xA1\xA2\xA3\xA4\xA5\xA6\xA7\xA8\xA9\xAA\xAB");
  EXPECT_TRUE(actuator.HasUncommittedWrites());

  Send(actuator, {0x01, 0x0A, 0x04, 0x0F}, 3000);
  EXPECT_EQ(Received(actuator, 3100), kAckSum);
  EXPECT_EQ(commits, 1);
  EXPECT_EQ(actuator.CommitCount(), 1);
  EXPECT_FALSE(actuator.HasUncommittedWrites());

  Send(actuator, {0x01, 0x08, 0x04, 0x0D}, 4000);
  Send(actuator, WithSum(page), 4100);
  // Disabled again: the acknowledge of the disable, then a refusal of the page.
  EXPECT_EQ(Received(actuator, 4200), (Bytes{0x01, 0x06, 0x04, 0x0B, 0x01, 0x07, 0x04, 0x0C}));
}

TEST(SimulatedActuatorTest, WriteDoneFollowsTheAcknowledgeInCrcForm) {
  SimulatedActuator actuator = MakeActuator(FrameMode::kCrc, 0x30A);
  actuator.State().writesEnabled = true;
  Send(actuator, WithCrc({0x01, 0x09, 0x0D, 0x08, 0x01, 1, 0, 2, 0, 3, 0}), 1000);
  EXPECT_EQ(Received(actuator, 2000), Concat(kAckCrc, kWriteDoneCrc));
  EXPECT_EQ(actuator.Memory().Word(0x108), 1);
  EXPECT_EQ(actuator.Memory().Word(0x10A), 3);
}

TEST(SimulatedActuatorTest, PacesRepliesAtTheLineRate) {
  struct Case {
    int baud;
    Bytes request;
    std::vector<std::pair<int64_t, size_t>> pendingAt;
    int64_t firstDeliveryMs;
  };
  const Bytes version{0x01, 0x10, 0x05, 0x9C, 0x03};
  const Bytes status{0x01, 0x13, 0x05, 0x9C, 0xF3};
  // Request at 1000, 2 ms processing, 520 us per byte at 19200 and 1041 us at 9600.
  const Case cases[] = {
      {19200, version, {{1002, 0}, {1003, 1}, {1005, 5}, {1005, 5}, {1006, 7}}, 1003},
      {19200, status, {{1018, 30}, {1019, 32}, {1020, 33}}, 1003},
      {9600, version, {{1003, 0}, {1004, 1}, {1009, 6}, {1010, 7}}, 1004},
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
  const Bytes version{0x01, 0x10, 0x05, 0x9C, 0x03};
  const Bytes reply = WithCrc({0x01, 0x10, 0x07, 3, 10});
  struct Piece {
    int64_t atMs;
    Bytes bytes;
  };
  struct Case {
    const char* name;
    std::vector<Piece> pieces;
    size_t replies;
  };
  const Case cases[] = {
      {"split across calls", {{1000, {0x01, 0x10}}, {1005, {0x05, 0x9C, 0x03}}}, 1},
      {"noise and a stray SOH before",
       {{1000, {0x00, 0xFF, 0x01, 0x01, 0x10, 0x05, 0x9C, 0x03}}},
       1},
      {"a damaged frame before a good one",
       {{1000, {0x01, 0x10, 0x05, 0x9C, 0x04, 0x01, 0x10, 0x05, 0x9C, 0x03}}},
       1},
      {"two requests at once",
       {{1000, {0x01, 0x10, 0x05, 0x9C, 0x03, 0x01, 0x10, 0x05, 0x9C, 0x03}}},
       2},
      {"a broken-off frame is forgotten after a gap",
       {{1000, {0x01, 0x0C, 0x09}}, {1050, version}},
       1},
      {"a frame that never completes", {{1000, {0x01, 0x10, 0x05, 0x9C}}}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SimulatedActuator actuator;
    for (const Piece& piece : c.pieces) {
      Send(actuator, piece.bytes, piece.atMs);
    }
    Bytes expected;
    for (size_t i = 0; i < c.replies; ++i) {
      expected = Concat(expected, reply);
    }
    EXPECT_EQ(Received(actuator, 5000), expected);
  }
}

}  // namespace
}  // namespace velmar::test
