#include <algorithm>
#include <vector>

#include "link_fixture.h"

namespace velmar::test {
namespace {

using ReceiveTest = LinkTest;

TEST_F(ReceiveTest, ReceiveFrameFindsTheFrameWithinItsLimitAndLength) {
  const Bytes words = SumFrame(0x0D, Bytes(12, 0x11));
  const Bytes part(words.begin(), words.begin() + 10), rest(words.begin() + 2, words.end());
  struct Case {
    const char* name;
    std::vector<ReplyChunk> reply;
    int minReplyLength, timeoutMs, count;
    int bytes34;    // bytes 3-4 of the receive buffer, which show where SOH was put
    int elapsedMs;  // with 2 ms steps only
  };
  const Case cases[] = {
      {"ack", {{3, kAckSum}}, 4, 200, 4, 0x0B00, 8},
      {"stray byte at 0", {{3, Join({{0x7F}, kAckSum})}}, 4, 200, 4, 0x0B00, 8},
      {"stray SOH at 0", {{3, Join({{0x01}, kAckSum})}}, 4, 200, 4, 0x0B00, 8},
      {"two stray bytes", {{3, Join({{0x7F, 0x7F}, kAckSum})}}, 4, 200, 0, 0x0604, 8},
      {"three bytes", {{3, Hex("01 06 04")}}, 4, 200, 0, 0, 200},
      {"code 5", {{3, Hex("01 05 04 0A")}}, 4, 200, 0, 0x0A00, 8},
      {"code 33", {{3, Hex("01 21 04 26")}}, 4, 200, 0, 0x2600, 8},
      {"code 32", {{3, Hex("01 20 04 25")}}, 4, 200, 4, 0x2500, 8},
      {"short of the threshold", {{3, part}}, 16, 200, 10, 0x1111, 200},
      {"in chunks", {{3, Hex("01 0D")}, {40, rest}}, 16, 200, 16, 0x1111, 44},
      {"after the limit", {{240, kAckSum}}, 4, 200, 0, 0, 200},
      {"within a longer limit", {{240, kAckSum}}, 4, 500, 4, 0x0B00, 244},
      // Complete at 20 ms, confirmed over two more 2 ms steps.
      {"two chunks", {{10, Hex("01 06")}, {20, Hex("04 0B")}}, 4, 200, 4, 0x0B00, 24},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clock.sleeps.clear();
    driver.ReplyNextWriteInChunks(c.reply);
    link.SendWriteEnable();
    const int64_t start = clock.NowMs();
    EXPECT_EQ(link.ReceiveFrame(c.timeoutMs, c.minReplyLength), c.count);
    EXPECT_EQ(Elapsed(start), c.elapsedMs);
    EXPECT_TRUE(clock.LongSleeps().empty());
    EXPECT_EQ(link.ReplyFirmwareVersion(), c.bytes34);
    clock.Advance(1000);  // late bytes arrive; the next send drops them
  }
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
  ASSERT_EQ(Code(link.OpenPort(1, 19200)), 0);
  driver.SetReplyHandler([](const Bytes&) { return kAckSum; });
  link.SendWriteEnable();
  int flags = 0;
  uint16_t word = 0;
  EXPECT_EQ(
      (std::vector<int>{Code(link.ReceiveAck()), Code(link.ReceiveFirmwareVersion()),
                        Code(link.RequestModeStatus(flags)), Code(link.ReadMemoryWord(0, word))}),
      (std::vector<int>{21, 1, -1, -1}));
  EXPECT_EQ(std::count(driver.calls.begin(), driver.calls.end(), "Read 0 80"), 0);
}

// The replies compared whole, or checked by code, LEN and check in the frame form of the mode;
// the form of a version reply sets the mode.
TEST_F(ReceiveTest, RepliesMatchTheFrameOfTheMode) {
  using Receive = LinkResult (*)(L&);
  const Receive ack = [](L& l) { return l.ReceiveAck(); };
  const Receive done = [](L& l) { return l.ReceiveWriteDone(); };
  const Receive words = [](L& l) { return l.ReceiveWords(); };
  const Receive version = [](L& l) { return l.ReceiveFirmwareVersion(); };
  const Bytes crc = Hex("01 10 07 03 0A 08 36"), sum = Hex("01 10 06 02 06 1F");
  struct Case {
    const char* name;
    Receive receive;
    int mode;
    Bytes reply;
    int expected;
    int modeAfter = -1;  // -1: unchanged
    int delayMs = 5;
  };
  const Case cases[] = {
      {"sum ack", ack, 0, kAckSum, 0},
      {"crc ack", ack, 1, kAckCrc, 0},
      {"crc nak", ack, 1, kNakCrc, 1},
      {"crc ack in sum mode", ack, 0, kAckCrc, 21},
      {"sum ack in crc mode", ack, 1, kAckSum, 21},
      {"ack after stray byte", ack, 1, Join({{0x00}, kAckCrc}), 0},
      {"sum write done", done, 0, kDoneSum, 0},
      {"crc write done", done, 1, kDoneCrc, 0},
      {"ack for write done", done, 1, kAckCrc, 1},
      {"write done with bad check", done, 0, Hex("01 0E 04 14"), 1},
      {"sum words", words, 0, Hex("01 0D 10 01 02 03 04 05 06 07 08 09 0A 0B 0C 6C"), 0},
      {"crc words", words, 1, Hex("01 0D 11 01 02 03 04 05 06 07 08 09 0A 0B 0C A7 8A"), 0},
      {"words bad sum", words, 0, Hex("01 0D 10 01 02 03 04 05 06 07 08 09 0A 0B 0C 00"), 1},
      {"words bad crc", words, 1, Hex("01 0D 11 01 02 03 04 05 46 07 08 09 0A 0B 0C A7 8A"), 1},
      {"words wrong code", words, 0, Hex("01 0E 10 01 02 03 04 05 06 07 08 09 0A 0B 0C 6D"), 1},
      {"words short", words, 0, Hex("01 0D 10 01 02 03 04 05 06 07 08 09 0A 0B 0C"), 21},
      {"crc version", version, 0, crc, 0, 1},
      {"sum version", version, 1, sum, 0, 0},
      {"version bad crc", version, 0, Hex("01 10 07 03 0A 08 37"), 1},
      {"version bad sum", version, 1, Hex("01 10 06 02 06 1E"), 1},
      {"crc version and one more byte", version, 0, Join({crc, {0x00}}), 1},
      {"sum version and one more byte", version, 1, Join({sum, {0x00}}), 1},
      {"version after stray byte", version, 0, Join({{0x00}, crc}), 1},
      {"version of another code", version, 0, Hex("01 11 07 03 0A 09 CA"), 1},
      {"version of five bytes", version, 1, Hex("01 10 06 02 06"), 1},
      {"version too late", version, 0, crc, 1, -1, 210},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    link.SetCrcMode(c.mode);
    driver.ReplyNextWrite(c.reply, c.delayMs);
    link.SendWriteEnable();
    EXPECT_EQ(Code(c.receive(link)), c.expected);
    EXPECT_EQ(link.CrcMode(), c.modeAfter < 0 ? c.mode : c.modeAfter);
    if (c.receive == version && c.expected == 0) {
      EXPECT_EQ(link.ReplyFirmwareVersion(), c.reply[3] * 256 + c.reply[4]);
    }
    clock.Advance(1000);
  }
  EXPECT_EQ(link.FirmwareVersion(), 0) << "callers decide when to take the version";
}

}  // namespace
}  // namespace velmar::test
