#include <functional>
#include <string>
#include <vector>

#include "link_fixture.h"

namespace velmar::test {
namespace {

const Bytes kAckSum = {0x01, 0x06, 0x04, 0x0B};
const Bytes kAckCrc = {0x01, 0x06, 0x05, 0x92, 0x63};
const Bytes kNakCrc = {0x01, 0x07, 0x05, 0x93, 0xF3};
const Bytes kWriteDoneCrc = {0x01, 0x0E, 0x05, 0x95, 0xA3};

Bytes Le16(uint16_t value) {
  return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
}

Bytes Le32(uint32_t value) {
  return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
          static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes joined;
  for (const Bytes& part : parts) {
    joined.insert(joined.end(), part.begin(), part.end());
  }
  return joined;
}

// An actuator that never answers: every command spends all its attempts, limits and sleeps.
struct SilentCase {
  const char* name;
  std::function<int(ActuatorLink&)> command;
  int crcMode;
  int expected;
  int attempts;
  Bytes request;  // every attempt sends this frame
  std::vector<int> longSleeps;
  int elapsedMs;
};

using SilentActuatorTest = LinkTest;

TEST_F(SilentActuatorTest, EachCommandSpendsItsAttemptsAndSleeps) {
  const uint16_t record[3] = {0x1111, 0x2222, 0x3333};
  const std::vector<SilentCase> cases = {
      {"EnableWrites", &ActuatorLink::EnableWrites, 0, 1, 3, {0x01, 0x05, 0x04, 0x0A}, {}, 600},
      {"DisableWrites",
       &ActuatorLink::DisableWrites,
       1,
       1,
       3,
       CrcFrame(0x08),
       {100, 100, 100},
       900},
      {"DisableWritesAfterDownload", &ActuatorLink::DisableWritesAfterDownload, 1, 21, 8,
       CrcFrame(0x08), std::vector<int>(8, 100), 2400},
      {"ClearFaults", &ActuatorLink::ClearFaults, 1, 2, 8, CrcFrame(0x11), std::vector<int>(8, 40),
       8 * 500 + 8 * 40},
      {"ResetRunHours",
       &ActuatorLink::ResetRunHours,
       0,
       21,
       3,
       CrcFrame(0x16),
       {250, 250, 250},
       3 * 200 + 750},
      {"WriteRecordWords",
       [&](ActuatorLink& l) { return l.WriteRecordWords(0x502, record); },
       1,
       2,
       3,
       CrcFrame(0x09, Join({Le16(0x281), Le16(0x1111), Le16(0x2222), Le16(0x3333)})),
       {},
       1500},
      {"EraseRecordWords",
       [](ActuatorLink& l) { return l.EraseRecordWords(0x600); },
       1,
       2,
       3,
       CrcFrame(0x09, Join({Le16(0x300), Bytes(6, 0)})),
       {},
       1500},
      {"ReadIdentification",
       &ActuatorLink::ReadIdentification,
       0,
       2,
       5,
       SumFrame(0x0C, {0x04, 0x00, 0x06, 0x00}),
       {},
       1000},
      {"RequestSpan", &ActuatorLink::RequestSpan, 0, 1, 1, CrcFrame(0x12), {60}, 260},
      {"RequestMaxForce", &ActuatorLink::RequestMaxForce, 0, 1, 1, CrcFrame(0x14), {60}, 260},
      {"RequestRunHours16", &ActuatorLink::RequestRunHours16, 0, 1, 5, CrcFrame(0x15),
       std::vector<int>(5, 100), 3000},
      {"RequestRunHours32", &ActuatorLink::RequestRunHours32, 0, 1, 5, CrcFrame(0x15),
       std::vector<int>(5, 100), 3000},
      {"RequestPoweredHours", &ActuatorLink::RequestPoweredHours, 0, 1, 5, CrcFrame(0x17),
       std::vector<int>(5, 100), 3000},
      {"ReadMemoryWord", [](ActuatorLink& l) { return l.ReadMemoryWord(0x1234); }, 0, -1, 3,
       CrcFrame(0x19, {0x34, 0x12}), std::vector<int>(9, 66), 9 * 66},
      {"WriteMemoryWord",
       [](ActuatorLink& l) { return l.WriteMemoryWord(0x10, 0xBEEF); },
       0,
       -1,
       3,
       CrcFrame(0x1A, {0x10, 0x00, 0xEF, 0xBE}),
       {100, 100, 100},
       900},
      {"RequestModeStatus", &ActuatorLink::RequestModeStatus, 0, -1, 5, CrcFrame(0x13),
       std::vector<int>(5, 100), 500},
  };
  for (const SilentCase& c : cases) {
    driver.writes.clear();
    clock.sleeps.clear();
    link.crcMode = c.crcMode;
    const int64_t start = clock.NowMs();
    EXPECT_EQ(c.command(link), c.expected) << c.name;
    EXPECT_EQ(driver.writes, std::vector<Bytes>(c.attempts, c.request)) << c.name;
    EXPECT_EQ(clock.LongSleeps(), c.longSleeps) << c.name;
    EXPECT_EQ(Elapsed(start), c.elapsedMs) << c.name;
    EXPECT_EQ(link.receiveTimeoutMs, 200) << c.name;
  }
}

// Negative acknowledges count as failed attempts; the first good reply ends the command.
struct RetryCase {
  const char* name;
  std::function<int(ActuatorLink&)> command;
  std::vector<Bytes> replies;  // one per attempt; empty is silence
  int expected;
  int writes;
};

using RetryTest = LinkTest;

TEST_F(RetryTest, StopsAtTheFirstGoodReply) {
  const Bytes runHours = CrcFrame(0x35, Le16(1234));
  const std::vector<RetryCase> cases = {
      {"EnableWrites nak, ack", &ActuatorLink::EnableWrites, {kNakCrc, kAckCrc}, 0, 2},
      {"EnableWrites naks", &ActuatorLink::EnableWrites, {kNakCrc, kNakCrc, kNakCrc}, 1, 3},
      {"DisableWrites third", &ActuatorLink::DisableWrites, {{}, kNakCrc, kAckCrc}, 0, 3},
      {"ClearFaults eighth",
       &ActuatorLink::ClearFaults,
       {{}, {}, {}, {}, {}, {}, {}, kAckCrc},
       0,
       8},
      {"ResetRunHours nak, ack", &ActuatorLink::ResetRunHours, {kNakCrc, kAckCrc}, 0, 2},
      {"WriteMemoryWord second",
       [](ActuatorLink& l) { return l.WriteMemoryWord(1, 2); },
       {kNakCrc, kAckCrc},
       0,
       2},
      {"RunHours16 fifth", &ActuatorLink::RequestRunHours16, {{}, {}, {}, {}, runHours}, 0, 5},
      {"RunHours16 bad crc",
       &ActuatorLink::RequestRunHours16,
       {Join({Bytes(runHours.begin(), runHours.end() - 1), {0x00}})},
       1,
       5},
      {"ModeStatus second",
       &ActuatorLink::RequestModeStatus,
       {{}, CrcFrame(0x33, Bytes(28, 0x02))},
       2,
       2},
  };
  for (const RetryCase& c : cases) {
    driver.writes.clear();
    link.crcMode = 1;
    for (const Bytes& reply : c.replies) {
      if (reply.empty()) {
        driver.SilenceNextWrites();
      } else {
        driver.ReplyNextWrite(reply, 20);
      }
    }
    EXPECT_EQ(c.command(link), c.expected) << c.name;
    EXPECT_EQ(static_cast<int>(driver.writes.size()), c.writes) << c.name;
    clock.Advance(1000);
    driver.SetReplyHandler(nullptr);
  }
}

// Replies to the CRC-only readings: the value is taken only from a checked frame of the right
// code; a failure leaves the previous value.
struct ReadingCase {
  const char* name;
  std::function<int(ActuatorLink&)> command;
  Bytes reply;
  int expected;
  std::function<uint32_t(const ActuatorLink&)> value;
  uint32_t expectedValue;
};

using ReadingTest = LinkTest;

TEST_F(ReadingTest, ValuesComeFromCheckedFramesOnly) {
  auto span = [](const ActuatorLink& l) -> uint32_t { return l.span; };
  auto force = [](const ActuatorLink& l) -> uint32_t { return l.maxForce; };
  auto run16 = [](const ActuatorLink& l) -> uint32_t { return l.runHours16; };
  auto run32 = [](const ActuatorLink& l) -> uint32_t { return l.runHours32; };
  auto powered = [](const ActuatorLink& l) -> uint32_t { return l.poweredHours; };
  Bytes badSpan = CrcFrame(0x32, Join({Le32(0x12345678), Le16(7)}));
  badSpan[4] ^= 0x01;
  const std::vector<ReadingCase> cases = {
      {"span", &ActuatorLink::RequestSpan, CrcFrame(0x32, Join({Le32(0x12345678), Le16(7)})), 0,
       span, 0x12345678},
      {"span bad crc", &ActuatorLink::RequestSpan, badSpan, 1, span, 0x12345678},
      {"span wrong code", &ActuatorLink::RequestSpan,
       CrcFrame(0x34, Join({Le32(0x11111111), Le16(7)})), 1, span, 0x12345678},
      {"span with stray byte", &ActuatorLink::RequestSpan,
       Join({{0x00}, CrcFrame(0x32, Join({Le32(0x1), Le16(7)}))}), 1, span, 0x12345678},
      {"max force", &ActuatorLink::RequestMaxForce, CrcFrame(0x34, Le16(4500)), 0, force, 4500},
      {"max force short",
       &ActuatorLink::RequestMaxForce,
       {0x01, 0x34, 0x07, 0x01, 0x02, 0x03},
       1,
       force,
       4500},
      {"run hours 16", &ActuatorLink::RequestRunHours16, CrcFrame(0x35, Le16(0xFFFE)), 0, run16,
       0xFFFE},
      {"run hours 16 from a 32-bit reply", &ActuatorLink::RequestRunHours16,
       CrcFrame(0x35, Le32(0x00050321)), 0, run16, 0x0321},
      {"run hours 32", &ActuatorLink::RequestRunHours32, CrcFrame(0x35, Le32(100000)), 0, run32,
       100000},
      {"run hours 32 from a 16-bit reply", &ActuatorLink::RequestRunHours32,
       CrcFrame(0x35, Le16(5)), 1, run32, 100000},
      {"powered hours", &ActuatorLink::RequestPoweredHours, CrcFrame(0x37, Le32(0xFEDCBA98)), 0,
       powered, 0xFEDCBA98},
      {"powered hours wrong code", &ActuatorLink::RequestPoweredHours, CrcFrame(0x35, Le32(1)), 1,
       powered, 0xFEDCBA98},
  };
  for (const ReadingCase& c : cases) {
    // The same reply to every attempt.
    driver.SetReplyHandler([&](const Bytes&) { return c.reply; }, 30);
    EXPECT_EQ(c.command(link), c.expected) << c.name;
    EXPECT_EQ(c.value(link), c.expectedValue) << c.name;
    clock.Advance(1000);
  }
}

using MemoryWordTest = LinkTest;

TEST_F(MemoryWordTest, ReadsTheWholeUnsignedRange) {
  struct Case {
    const char* name;
    std::vector<ReplyChunk> reply;
    int expected;
    int writes;
  };
  Bytes badCrc = CrcFrame(0x36, Le16(7));
  badCrc[5] ^= 0x01;
  const std::vector<Case> cases = {
      {"0xFFFF", {{30, CrcFrame(0x36, Le16(0xFFFF))}}, 65535, 1},
      {"zero", {{30, CrcFrame(0x36, Le16(0))}}, 0, 1},
      {"on the third poll", {{150, CrcFrame(0x36, Le16(42))}}, 42, 1},
      // Arriving just after the third poll, the reply is seen by the second attempt.
      {"after the third poll", {{200, CrcFrame(0x36, Le16(42))}}, 42, 2},
      {"bad crc", {{30, badCrc}}, -1, 3},
      {"wrong LEN", {{30, CrcFrame(0x36, Le32(42))}}, -1, 3},
      {"stray byte", {{30, Join({{0x00}, CrcFrame(0x36, Le16(42))})}}, -1, 3},
  };
  for (const Case& c : cases) {
    driver.writes.clear();
    driver.ReplyNextWriteInChunks(c.reply);
    EXPECT_EQ(link.ReadMemoryWord(0x0020), c.expected) << c.name;
    EXPECT_EQ(static_cast<int>(driver.writes.size()), c.writes) << c.name;
    clock.Advance(1000);
  }
}

using ModeStatusTest = LinkTest;

TEST_F(ModeStatusTest, TakesOnlyAnExactCheckedStatusFrame) {
  Bytes data(28, 0);
  data[18] = 0x06;  // frame byte 21: mode reset plus a further bit
  data[19] = 0x80;
  const Bytes frame = CrcFrame(0x33, data);
  Bytes badCrc = frame;
  badCrc[10] ^= 0x01;
  struct Case {
    const char* name;
    Bytes reply;
    int expected;
  };
  const std::vector<Case> cases = {
      {"good", frame, 6},
      {"bad crc", badCrc, -1},
      {"one byte more", Join({frame, {0x00}}), -1},
      {"other code", CrcFrame(0x32, data), -1},
      {"silence", {}, -1},
  };
  for (const Case& c : cases) {
    driver.writes.clear();
    driver.SetReplyHandler([&](const Bytes&) { return c.reply; }, 40);
    EXPECT_EQ(link.RequestModeStatus(), c.expected) << c.name;
    EXPECT_EQ(Bytes(link.statusFrame, link.statusFrame + 33), frame) << c.name;
    EXPECT_EQ(static_cast<int>(driver.writes.size()), c.expected < 0 ? 5 : 1) << c.name;
    clock.Advance(1000);
  }
}

using IdentificationTest = LinkTest;

// Words 4..21 of parameter memory, answered page by page.
class IdentificationMemory {
 public:
  explicit IdentificationMemory(const Bytes& block) : block_(block) { block_.resize(36, 0); }
  Bytes operator()(const Bytes& request) const {
    const int word = request[3] | (request[4] << 8);
    const auto from = block_.begin() + (word - 4) * 2;
    return SumFrame(0x0D, Bytes(from, from + 12));
  }

 private:
  Bytes block_;
};

Bytes Text(const std::string& text, size_t width) {
  Bytes bytes(text.begin(), text.end());
  bytes.resize(width, 0);
  return bytes;
}

TEST_F(IdentificationTest, FillsTheTextsFromThreePages) {
  struct Case {
    const char* name;
    Bytes block;
    const char* serial;
    const char* model;
    const char* part;
  };
  const std::vector<Case> cases = {
      {"full width", Join({Le32(123456), Text("MODEL-ABCDEF", 12), Text("PART-0123456789A", 16)}),
       "123456", "MODEL-ABCDEF", "PART-0123456789A"},
      {"eleven characters", Join({Le32(7), Text("MODEL-ABCDE", 12), Text("P1", 16)}), "7",
       "MODEL-ABCDE", "P1"},
      {"text after NUL", Join({Le32(0), Text("AB\0CD", 12), Text("", 16)}), "0", "AB", ""},
      {"negative serial", Join({Le32(0x80000000), Text("M", 12), Text("P", 16)}), "-2147483648",
       "M", "P"},
      {"all ones", Join({Le32(0xFFFFFFFF), Bytes(28, 0xFF)}), "-1",
       "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF",
       "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF"},
  };
  for (const Case& c : cases) {
    driver.writes.clear();
    driver.SetReplyHandler(IdentificationMemory(c.block), 10);
    EXPECT_EQ(link.ReadIdentification(), 0) << c.name;
    EXPECT_STREQ(link.identSerialNumber, c.serial) << c.name;
    EXPECT_STREQ(link.identModelNumber, c.model) << c.name;
    EXPECT_STREQ(link.identPartNumber, c.part) << c.name;
    ASSERT_EQ(driver.writes.size(), 3u) << c.name;
    EXPECT_EQ(driver.writes[0], SumFrame(0x0C, {4, 0, 6, 0}));
    EXPECT_EQ(driver.writes[1], SumFrame(0x0C, {10, 0, 6, 0}));
    EXPECT_EQ(driver.writes[2], SumFrame(0x0C, {16, 0, 6, 0}));
  }
}

TEST_F(IdentificationTest, AFailedPageKeepsThePreviousTexts) {
  driver.SetReplyHandler(
      IdentificationMemory(Join({Le32(99), Text("OLD", 12), Text("OLDPART", 16)})), 10);
  ASSERT_EQ(link.ReadIdentification(), 0);
  // The new unit answers the first two pages, then the third fails five times.
  const IdentificationMemory fresh(Join({Le32(1), Text("NEW", 12), Text("NEWPART", 16)}));
  driver.SetReplyHandler(
      [&](const Bytes& request) { return request[3] == 16 ? Bytes{} : fresh(request); }, 10);
  driver.writes.clear();
  EXPECT_EQ(link.ReadIdentification(), 2);
  EXPECT_EQ(driver.writes.size(), 7u);
  EXPECT_STREQ(link.identSerialNumber, "99");
  EXPECT_STREQ(link.identModelNumber, "OLD");
  EXPECT_STREQ(link.identPartNumber, "OLDPART");
}

using WordsTest = LinkTest;

TEST_F(WordsTest, ReadWordsFramesByModeAndKeepsTheReplyWords) {
  const Bytes data = {1, 0, 2, 0, 3, 0, 4, 0, 0xFF, 0xFF, 0x34, 0x12};
  link.crcMode = 1;
  driver.ReplyNextWrite(CrcFrame(0x0D, data), 10);
  EXPECT_EQ(link.ReadWords(0x200), 0);
  EXPECT_EQ(driver.writes.back(), CrcFrame(0x0C, {0x00, 0x02, 0x06, 0x00}));
  EXPECT_EQ(std::vector<uint16_t>(link.replyWords, link.replyWords + 6),
            (std::vector<uint16_t>{1, 2, 3, 4, 0xFFFF, 0x1234}));

  // A failed read leaves the words of the last good one.
  link.receiveTimeoutMs = 250;
  const int64_t start = clock.NowMs();
  EXPECT_EQ(link.ReadWords(0x300, FrameForm::kCrc), 21);
  EXPECT_EQ(Elapsed(start), 250);
  EXPECT_EQ(link.replyWords[5], 0x1234);

  link.crcMode = 0;
  link.ReadWords(6, FrameForm::kCrc);
  EXPECT_EQ(driver.writes.back(), CrcFrame(0x0C, {0x06, 0x00, 0x06, 0x00}));
}

TEST_F(WordsTest, WriteWordsWaitsForAckThenWriteDone) {
  const uint16_t words[6] = {0x0102, 0x0304, 0x0506, 0x0708, 0x090A, 0x0B0C};
  const Bytes payload = {0x0C, 0x00, 0x02, 0x01, 0x04, 0x03, 0x06,
                         0x05, 0x08, 0x07, 0x0A, 0x09, 0x0C, 0x0B};
  struct Case {
    const char* name;
    int crcMode;
    std::vector<ReplyChunk> reply;
    int expected;
    Bytes request;
    int elapsedMs;
  };
  const std::vector<Case> cases = {
      {"sum", 0, {{10, kAckSum}, {300, {0x01, 0x0E, 0x04, 0x13}}}, 0, SumFrame(0x09, payload), 304},
      {"crc", 1, {{10, kAckCrc}, {900, kWriteDoneCrc}}, 0, CrcFrame(0x09, payload), 904},
      {"nak", 1, {{10, kNakCrc}}, 1, CrcFrame(0x09, payload), 14},
      {"no ack", 1, {}, 21, CrcFrame(0x09, payload), 500},
      {"write done too late",
       1,
       {{10, kAckCrc}, {1100, kWriteDoneCrc}},
       21,
       CrcFrame(0x09, payload),
       1014},
      {"ack twice", 1, {{10, kAckCrc}, {50, kAckCrc}}, 1, CrcFrame(0x09, payload), 54},
  };
  for (const Case& c : cases) {
    link.crcMode = c.crcMode;
    driver.ReplyNextWriteInChunks(c.reply);
    const int64_t start = clock.NowMs();
    EXPECT_EQ(link.WriteWords(12, words, 6), c.expected) << c.name;
    EXPECT_EQ(driver.writes.back(), c.request) << c.name;
    EXPECT_EQ(Elapsed(start), c.elapsedMs) << c.name;
    clock.Advance(2000);
  }
  const size_t sent = driver.writes.size();
  EXPECT_EQ(link.WriteWords(0, words, 0), 1);
  EXPECT_EQ(link.WriteWords(0, words, 15), 1);
  EXPECT_EQ(driver.writes.size(), sent);
}

TEST_F(WordsTest, WriteRecordWordsResendsTheSameWordsAfterAMissingWriteDone) {
  link.crcMode = 1;
  const uint16_t words[3] = {0xAAAA, 0xBBBB, 0xCCCC};
  driver.ReplyNextWrite(kAckCrc, 10);
  driver.ReplyNextWriteInChunks({{10, kAckCrc}, {20, kWriteDoneCrc}});
  EXPECT_EQ(link.WriteRecordWords(0x510, words), 0);
  ASSERT_EQ(driver.writes.size(), 2u);
  EXPECT_EQ(driver.writes[0], driver.writes[1]);
  EXPECT_EQ(driver.writes[0], CrcFrame(0x09, {0x88, 0x02, 0xAA, 0xAA, 0xBB, 0xBB, 0xCC, 0xCC}));
}

}  // namespace
}  // namespace velmar::test
