#include <algorithm>
#include <vector>

#include "link_fixture.h"

namespace velmar::test {
namespace {

using ReceiveTest = LinkTest;

TEST_F(ReceiveTest, ReceiveFrameFindsTheFrameAndResetsTheOneShotSettings) {
  const Bytes words = SumFrame(0x0D, Bytes(12, 0x11));
  const Bytes part(words.begin(), words.begin() + 10);
  const Bytes rest(words.begin() + 2, words.end());
  struct Case {
    const char* name;
    std::vector<ReplyChunk> reply;
    int minReplyLength, timeoutMs, expectedCount;
    Bytes start;
  };
  const std::vector<Case> cases = {
      {"ack", {{3, kAckSum}}, 4, 200, 4, kAckSum},
      {"stray byte at 0", {{3, Join({{0x7F}, kAckSum})}}, 4, 200, 4, kAckSum},
      {"stray SOH at 0", {{3, Join({{0x01}, kAckSum})}}, 4, 200, 4, kAckSum},
      {"two stray bytes", {{3, Join({{0x7F, 0x7F}, kAckSum})}}, 4, 200, 0, {}},
      {"three bytes", {{3, {0x01, 0x06, 0x04}}}, 4, 200, 0, {}},
      {"code 5", {{3, {0x01, 0x05, 0x04, 0x0A}}}, 4, 200, 0, {}},
      {"code 33", {{3, {0x01, 0x21, 0x04, 0x26}}}, 4, 200, 0, {}},
      {"code 32", {{3, {0x01, 0x20, 0x04, 0x25}}}, 4, 200, 4, {0x01, 0x20}},
      {"short of the threshold", {{3, part}}, 16, 200, 10, {0x01, 0x0D}},
      {"in chunks", {{3, {0x01, 0x0D}}, {40, rest}}, 16, 200, 16, words},
      {"after the limit", {{240, kAckSum}}, 4, 200, 0, {}},
      {"within a longer limit", {{240, kAckSum}}, 4, 500, 4, kAckSum},
  };
  for (const Case& c : cases) {
    driver.ReplyNextWriteInChunks(c.reply);
    link.SendWriteEnable();
    link.minReplyLength = c.minReplyLength;
    link.receiveTimeoutMs = c.timeoutMs;
    EXPECT_EQ(link.ReceiveFrame(), c.expectedCount) << c.name;
    EXPECT_TRUE(std::equal(c.start.begin(), c.start.end(), link.rxBuffer)) << c.name;
    EXPECT_EQ(link.receiveTimeoutMs, 200) << c.name;
    EXPECT_EQ(link.minReplyLength, 4) << c.name;
    clock.Advance(1000);  // late bytes arrive; the next send drops them
  }
}

TEST_F(ReceiveTest, WaitsForAStableCountInTwoMillisecondSteps) {
  driver.ReplyNextWriteInChunks({{10, {0x01, 0x06}}, {20, {0x04, 0x0B}}});
  link.SendWriteEnable();
  const int64_t start = clock.NowMs();
  EXPECT_EQ(link.ReceiveFrame(), 4);
  EXPECT_EQ(Elapsed(start), 24) << "complete at 20 ms, confirmed over two more steps";
  EXPECT_TRUE(clock.LongSleeps().empty());
}

// A driver whose count query fails: the error is below every threshold.
class FailingCountDriver : public ScriptedSerialDriver {
 public:
  using ScriptedSerialDriver::ScriptedSerialDriver;
  int ReceiveCount(int) override { return -1; }
};

TEST(ReceiveCountErrorTest, ANegativeCountIsNoReply) {
  VirtualClock clock;
  FailingCountDriver driver(clock);
  SerialPort port(driver);
  ActuatorLink link(port, clock);
  ASSERT_EQ(link.OpenPort(1, 19200), 0);
  driver.SetReplyHandler([](const Bytes&) { return kAckSum; });
  link.SendWriteEnable();
  EXPECT_EQ(link.ReceiveAck(), 21);
  EXPECT_EQ(link.ReceiveFirmwareVersion(), 1);
  EXPECT_EQ(link.RequestModeStatus(), -1);
  EXPECT_EQ(link.ReadMemoryWord(0), -1);
  EXPECT_EQ(std::count(driver.calls.begin(), driver.calls.end(), "Read 0 80"), 0);
}

// The replies compared whole, or checked by code, LEN and check in the frame form of the mode;
// the form of a version reply sets the mode.
TEST_F(ReceiveTest, RepliesMatchTheFrameOfTheMode) {
  const Bytes data = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  const Bytes sumWords = SumFrame(0x0D, data);
  Bytes badWords = CrcFrame(0x0D, data);
  badWords[8] ^= 0x40;
  const Bytes crc = CrcFrame(0x10, {0x03, 0x0A});
  const Bytes sum = SumFrame(0x10, {0x02, 0x06});
  Bytes badCrc = crc;
  badCrc[6] ^= 0x01;
  Bytes badSum = sum;
  badSum[5] ^= 0x01;
  const auto ack = &L::ReceiveAck;
  const auto done = &L::ReceiveWriteDone;
  const auto words = &L::ReceiveWords;
  const auto version = &L::ReceiveFirmwareVersion;
  struct Case {
    const char* name;
    int (L::*receive)();
    int mode;
    Bytes reply;
    int expected;
    int modeAfter = -1;  // -1: unchanged
    int delayMs = 5;
  };
  const std::vector<Case> cases = {
      {"sum ack", ack, 0, kAckSum, 0},
      {"crc ack", ack, 1, kAckCrc, 0},
      {"crc nak", ack, 1, kNakCrc, 1},
      {"crc ack in sum mode", ack, 0, kAckCrc, 21},
      {"sum ack in crc mode", ack, 1, kAckSum, 21},
      {"ack after stray byte", ack, 1, Join({{0x00}, kAckCrc}), 0},
      {"sum write done", done, 0, kWriteDoneSum, 0},
      {"crc write done", done, 1, kWriteDoneCrc, 0},
      {"ack for write done", done, 1, kAckCrc, 1},
      {"write done with bad check", done, 0, {0x01, 0x0E, 0x04, 0x14}, 1},
      {"sum words", words, 0, sumWords, 0},
      {"crc words", words, 1, CrcFrame(0x0D, data), 0},
      {"words bad sum", words, 0, Join({Bytes(sumWords.begin(), sumWords.end() - 1), {0}}), 1},
      {"words bad crc", words, 1, badWords, 1},
      {"words wrong code", words, 0, SumFrame(0x0E, data), 1},
      {"words short", words, 0, Bytes(sumWords.begin(), sumWords.end() - 1), 21},
      {"crc version", version, 0, crc, 0, 1},
      {"sum version", version, 1, sum, 0, 0},
      {"version bad crc", version, 0, badCrc, 1},
      {"version bad sum", version, 1, badSum, 1},
      {"crc version and one more byte", version, 0, Join({crc, {0x00}}), 1},
      {"sum version and one more byte", version, 1, Join({sum, {0x00}}), 1},
      {"version after stray byte", version, 0, Join({{0x00}, crc}), 1},
      {"version of another code", version, 0, CrcFrame(0x11, {0x03, 0x0A}), 1},
      {"version of five bytes", version, 1, Bytes(sum.begin(), sum.end() - 1), 1},
      {"version too late", version, 0, crc, 1, -1, 210},
  };
  for (const Case& c : cases) {
    link.crcMode = c.mode;
    driver.ReplyNextWrite(c.reply, c.delayMs);
    link.SendWriteEnable();
    EXPECT_EQ((link.*c.receive)(), c.expected) << c.name;
    EXPECT_EQ(link.crcMode, c.modeAfter < 0 ? c.mode : c.modeAfter) << c.name;
    if (c.receive == version && c.expected == 0) {
      EXPECT_EQ(link.ReplyFirmwareVersion(), c.reply[3] * 256 + c.reply[4]) << c.name;
    }
    clock.Advance(1000);
  }
  EXPECT_EQ(link.firmwareVersion, 0) << "callers decide when to take the version";
}

}  // namespace
}  // namespace velmar::test
