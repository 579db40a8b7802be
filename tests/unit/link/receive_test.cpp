#include <algorithm>
#include <vector>

#include "link_fixture.h"

namespace velmar::test {
namespace {

const Bytes kAckSum = {0x01, 0x06, 0x04, 0x0B};
const Bytes kNakSum = {0x01, 0x07, 0x04, 0x0C};
const Bytes kAckCrc = {0x01, 0x06, 0x05, 0x92, 0x63};
const Bytes kNakCrc = {0x01, 0x07, 0x05, 0x93, 0xF3};
const Bytes kWriteDoneSum = {0x01, 0x0E, 0x04, 0x13};
const Bytes kWriteDoneCrc = {0x01, 0x0E, 0x05, 0x95, 0xA3};

Bytes Concat(const Bytes& a, const Bytes& b) {
  Bytes joined = a;
  joined.insert(joined.end(), b.begin(), b.end());
  return joined;
}

struct FrameCase {
  const char* name;
  std::vector<ReplyChunk> reply;
  int minReplyLength;
  int receiveTimeoutMs;
  int expectedCount;
  Bytes expectedStart;
};

using ReceiveFrameTest = LinkTest;

TEST_F(ReceiveFrameTest, FindsTheFrameAndResetsTheOneShotSettings) {
  const Bytes words = SumFrame(0x0D, Bytes(12, 0x11));
  const std::vector<FrameCase> cases = {
      {"ack", {{3, kAckSum}}, 4, 200, 4, kAckSum},
      {"one stray byte", {{3, Concat({0x7F}, kAckSum)}}, 4, 200, 4, kAckSum},
      {"stray SOH", {{3, Concat({0x01}, kAckSum)}}, 4, 200, 4, kAckSum},
      {"two stray bytes", {{3, Concat({0x7F, 0x7F}, kAckSum)}}, 4, 200, 0, {}},
      {"three bytes", {{3, {0x01, 0x06, 0x04}}}, 4, 200, 0, {}},
      {"nothing", {}, 4, 200, 0, {}},
      {"code below 6", {{3, {0x01, 0x05, 0x04, 0x0A}}}, 4, 200, 0, {}},
      {"code above 32", {{3, {0x01, 0x21, 0x04, 0x26}}}, 4, 200, 0, {}},
      {"code 32", {{3, {0x01, 0x20, 0x04, 0x25}}}, 4, 200, 4, {0x01, 0x20}},
      {"short of the threshold",
       {{3, Bytes(words.begin(), words.begin() + 10)}},
       16,
       200,
       10,
       {0x01, 0x0D}},
      {"in chunks",
       {{3, {0x01, 0x0D}}, {40, Bytes(words.begin() + 2, words.end())}},
       16,
       200,
       16,
       words},
      {"after the limit", {{240, kAckSum}}, 4, 200, 0, {}},
      {"within a longer limit", {{240, kAckSum}}, 4, 500, 4, kAckSum},
  };
  for (const FrameCase& c : cases) {
    driver.ReplyNextWriteInChunks(c.reply);
    link.SendWriteEnable();
    link.minReplyLength = c.minReplyLength;
    link.receiveTimeoutMs = c.receiveTimeoutMs;
    EXPECT_EQ(link.ReceiveFrame(), c.expectedCount) << c.name;
    EXPECT_TRUE(std::equal(c.expectedStart.begin(), c.expectedStart.end(), link.rxBuffer))
        << c.name;
    EXPECT_EQ(link.receiveTimeoutMs, 200) << c.name;
    EXPECT_EQ(link.minReplyLength, 4) << c.name;
    clock.Advance(1000);  // let any late bytes arrive; the next send drops them
  }
}

TEST_F(ReceiveFrameTest, WaitsForAStableCountInTwoMillisecondSteps) {
  driver.ReplyNextWriteInChunks({{10, {0x01, 0x06}}, {20, {0x04, 0x0B}}});
  link.SendWriteEnable();
  const int64_t start = clock.NowMs();
  EXPECT_EQ(link.ReceiveFrame(), 4);
  // Complete at 20 ms, confirmed over two more steps.
  EXPECT_EQ(Elapsed(start), 24);
  EXPECT_TRUE(clock.LongSleeps().empty());

  link.SendWriteEnable();
  const int64_t silent = clock.NowMs();
  EXPECT_EQ(link.ReceiveFrame(), 0);
  EXPECT_EQ(Elapsed(silent), 200);
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
  driver.ReplyNextWrite(kAckSum);
  link.SendWriteEnable();
  EXPECT_EQ(link.ReceiveAck(), 21);
  EXPECT_EQ(link.ReceiveFirmwareVersion(), 1);
  EXPECT_EQ(link.RequestModeStatus(), -1);
  EXPECT_EQ(link.ReadMemoryWord(0), -1);
  EXPECT_EQ(std::count(driver.calls.begin(), driver.calls.end(), "Read 0 80"), 0);
}

TEST_F(ReceiveFrameTest, BytesWaitingBeforeASendAreDropped) {
  driver.Arrive({0x01, 0x07, 0x04, 0x0C});
  driver.ReplyNextWrite(kAckSum, 5);
  link.SendWriteEnable();
  EXPECT_EQ(link.ReceiveAck(), 0);
}

struct CodeCase {
  const char* name;
  int crcMode;
  Bytes reply;
  int expected;
};

using ReceiveAckTest = LinkTest;

TEST_F(ReceiveAckTest, ComparesTheWholeFrameOfTheMode) {
  const std::vector<CodeCase> cases = {
      {"sum ack", 0, kAckSum, 0},
      {"sum nak", 0, kNakSum, 1},
      {"crc ack", 1, kAckCrc, 0},
      {"crc nak", 1, kNakCrc, 1},
      {"crc ack in sum mode", 0, kAckCrc, 21},
      {"sum ack in crc mode", 1, kAckSum, 21},
      {"ack with bad check", 0, {0x01, 0x06, 0x04, 0x0C}, 21},
      {"write done", 1, kWriteDoneCrc, 21},
      {"none", 0, {}, 21},
      {"ack after stray byte", 1, Concat({0x00}, kAckCrc), 0},
  };
  for (const CodeCase& c : cases) {
    link.crcMode = c.crcMode;
    driver.ReplyNextWrite(c.reply, 5);
    link.SendWriteEnable();
    EXPECT_EQ(link.ReceiveAck(), c.expected) << c.name;
  }
}

using ReceiveWriteDoneTest = LinkTest;

TEST_F(ReceiveWriteDoneTest, ExactFrameOfTheMode) {
  const std::vector<CodeCase> cases = {
      {"sum", 0, kWriteDoneSum, 0},
      {"crc", 1, kWriteDoneCrc, 0},
      {"ack instead", 1, kAckCrc, 1},
      {"sum frame in crc mode", 1, kWriteDoneSum, 21},
      {"bad check", 0, {0x01, 0x0E, 0x04, 0x14}, 1},
      {"none", 1, {}, 21},
  };
  for (const CodeCase& c : cases) {
    link.crcMode = c.crcMode;
    driver.ReplyNextWrite(c.reply, 5);
    link.SendWriteEnable();
    EXPECT_EQ(link.ReceiveWriteDone(), c.expected) << c.name;
  }
}

using ReceiveWordsTest = LinkTest;

TEST_F(ReceiveWordsTest, ChecksCodeLengthAndCheck) {
  const Bytes data = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  Bytes badSum = SumFrame(0x0D, data);
  badSum[15] ^= 0x01;
  Bytes badCrc = CrcFrame(0x0D, data);
  badCrc[8] ^= 0x40;
  const Bytes sumFrame = SumFrame(0x0D, data);
  const std::vector<CodeCase> cases = {
      {"sum", 0, sumFrame, 0},
      {"crc", 1, CrcFrame(0x0D, data), 0},
      {"bad sum", 0, badSum, 1},
      {"bad crc", 1, badCrc, 1},
      {"wrong code", 0, SumFrame(0x0E, data), 1},
      {"sum frame in crc mode", 1, sumFrame, 21},
      {"short", 0, Bytes(sumFrame.begin(), sumFrame.end() - 1), 21},
      {"ack", 0, kAckSum, 21},
      {"none", 1, {}, 21},
  };
  for (const CodeCase& c : cases) {
    link.crcMode = c.crcMode;
    driver.ReplyNextWrite(c.reply, 5);
    link.SendWriteEnable();
    EXPECT_EQ(link.ReceiveWords(), c.expected) << c.name;
  }
}

struct VersionCase {
  const char* name;
  int crcModeBefore;
  std::vector<ReplyChunk> reply;
  int expected;
  int crcModeAfter;
};

using ReceiveFirmwareVersionTest = LinkTest;

TEST_F(ReceiveFirmwareVersionTest, TheReplyFormSetsTheMode) {
  const Bytes crc = CrcFrame(0x10, {0x03, 0x0A});
  const Bytes sum = SumFrame(0x10, {0x02, 0x06});
  Bytes badCrc = crc;
  badCrc[6] ^= 0x01;
  Bytes badSum = sum;
  badSum[5] ^= 0x01;
  const std::vector<VersionCase> cases = {
      {"crc reply", 0, {{5, crc}}, 0, 1},
      {"sum reply", 1, {{5, sum}}, 0, 0},
      {"bad crc", 0, {{5, badCrc}}, 1, 0},
      {"bad sum", 1, {{5, badSum}}, 1, 1},
      {"crc reply and one more byte", 0, {{5, Concat(crc, {0x00})}}, 1, 0},
      {"sum reply and one more byte", 1, {{5, Concat(sum, {0x00})}}, 1, 1},
      {"stray byte first", 0, {{5, Concat({0x00}, crc)}}, 1, 0},
      {"other code", 0, {{5, CrcFrame(0x11, {0x03, 0x0A})}}, 1, 0},
      {"five bytes", 1, {{5, Bytes(sum.begin(), sum.end() - 1)}}, 1, 1},
      {"in chunks", 0, {{5, {0x01, 0x10, 0x07}}, {30, {0x03, 0x0A, crc[5], crc[6]}}}, 0, 1},
      {"too late", 0, {{210, crc}}, 1, 0},
      {"none", 1, {}, 1, 1},
  };
  for (const VersionCase& c : cases) {
    link.crcMode = c.crcModeBefore;
    driver.ReplyNextWriteInChunks(c.reply);
    link.SendFirmwareVersionRequestCrc();
    EXPECT_EQ(link.ReceiveFirmwareVersion(), c.expected) << c.name;
    EXPECT_EQ(link.crcMode, c.crcModeAfter) << c.name;
    clock.Advance(1000);
  }
}

TEST_F(ReceiveFirmwareVersionTest, ReplyVersionIsMajorTimesTwoFiftySixPlusMinor) {
  driver.ReplyNextWrite(CrcFrame(0x10, {0x03, 0x0A}), 5);
  link.SendFirmwareVersionRequestCrc();
  ASSERT_EQ(link.ReceiveFirmwareVersion(), 0);
  EXPECT_EQ(link.ReplyFirmwareVersion(), 0x30A);
  EXPECT_EQ(link.firmwareVersion, 0) << "callers decide when to take the version";
}

}  // namespace
}  // namespace velmar::test
