#include <functional>
#include <string>
#include <vector>

#include "link_fixture.h"

namespace velmar::test {
namespace {

using Command = std::function<int(ActuatorLink&)>;

using CommandsTest = LinkTest;

// An actuator that never answers: every command spends all its attempts, limits and sleeps.
TEST_F(CommandsTest, SilentActuatorCostsEachCommandItsAttemptsAndSleeps) {
  const uint16_t record[3] = {0x1111, 0x2222, 0x3333};
  const Command writeRecord = [&](L& l) { return l.WriteRecordWords(0x502, record); };
  const Command erase = [](L& l) { return l.EraseRecordWords(0x600); };
  const Command readWord = [](L& l) { return l.ReadMemoryWord(0x1234); };
  const Command writeWord = [](L& l) { return l.WriteMemoryWord(0x10, 0xBEEF); };
  const Bytes recordFrame =
      CrcFrame(0x09, Join({Le16(0x281), Le16(0x1111), Le16(0x2222), Le16(0x3333)}));
  struct Case {
    const char* name;
    Command command;
    int crcMode, expected, attempts;
    Bytes request;  // every attempt sends this frame
    int sleeps, sleepMs, elapsedMs;
  };
  const std::vector<Case> cases = {
      {"EnableWrites", &L::EnableWrites, 0, 1, 3, SumFrame(0x05), 0, 0, 600},
      {"DisableWrites", &L::DisableWrites, 1, 1, 3, CrcFrame(0x08), 3, 100, 900},
      {"AfterDownload", &L::DisableWritesAfterDownload, 1, 21, 8, CrcFrame(0x08), 8, 100, 2400},
      {"ClearFaults", &L::ClearFaults, 1, 2, 8, CrcFrame(0x11), 8, 40, 4320},
      {"ResetRunHours", &L::ResetRunHours, 0, 21, 3, CrcFrame(0x16), 3, 250, 1350},
      {"WriteRecordWords", writeRecord, 1, 2, 3, recordFrame, 0, 0, 1500},
      {"EraseRecordWords", erase, 1, 2, 3, CrcFrame(0x09, Join({Le16(0x300), Bytes(6, 0)})), 0, 0,
       1500},
      {"ReadIdentification", &L::ReadIdentification, 0, 2, 5, SumFrame(0x0C, {4, 0, 6, 0}), 0, 0,
       1000},
      {"RequestSpan", &L::RequestSpan, 0, 1, 1, CrcFrame(0x12), 1, 60, 260},
      {"RequestMaxForce", &L::RequestMaxForce, 0, 1, 1, CrcFrame(0x14), 1, 60, 260},
      {"RunHours16", &L::RequestRunHours16, 0, 1, 5, CrcFrame(0x15), 5, 100, 3000},
      {"RunHours32", &L::RequestRunHours32, 0, 1, 5, CrcFrame(0x15), 5, 100, 3000},
      {"PoweredHours", &L::RequestPoweredHours, 0, 1, 5, CrcFrame(0x17), 5, 100, 3000},
      {"ReadMemoryWord", readWord, 0, -1, 3, CrcFrame(0x19, {0x34, 0x12}), 9, 66, 594},
      {"WriteMemoryWord", writeWord, 0, -1, 3, CrcFrame(0x1A, {0x10, 0, 0xEF, 0xBE}), 3, 100, 900},
      {"ModeStatus", &L::RequestModeStatus, 0, -1, 5, CrcFrame(0x13), 5, 100, 500},
  };
  for (const Case& c : cases) {
    driver.writes.clear();
    clock.sleeps.clear();
    link.crcMode = c.crcMode;
    const int64_t start = clock.NowMs();
    EXPECT_EQ(c.command(link), c.expected) << c.name;
    EXPECT_EQ(driver.writes, std::vector<Bytes>(c.attempts, c.request)) << c.name;
    EXPECT_EQ(clock.LongSleeps(), std::vector<int>(c.sleeps, c.sleepMs)) << c.name;
    EXPECT_EQ(Elapsed(start), c.elapsedMs) << c.name;
    EXPECT_EQ(link.receiveTimeoutMs, 200) << c.name;
  }
}

// Negative acknowledges count as failed attempts; the first good reply ends the command.
TEST_F(CommandsTest, RetriesStopAtTheFirstGoodReply) {
  const Bytes runHours = CrcFrame(0x35, Le16(1234));
  const Command writeWord = [](L& l) { return l.WriteMemoryWord(1, 2); };
  struct Case {
    const char* name;
    Command command;
    std::vector<Bytes> replies;  // one per attempt; empty is silence
    int expected, writes;
  };
  const std::vector<Case> cases = {
      {"EnableWrites nak, ack", &L::EnableWrites, {kNakCrc, kAckCrc}, 0, 2},
      {"ClearFaults eighth", &L::ClearFaults, {{}, {}, {}, {}, {}, {}, {}, kAckCrc}, 0, 8},
      {"WriteMemoryWord second", writeWord, {kNakCrc, kAckCrc}, 0, 2},
      {"RunHours16 fifth", &L::RequestRunHours16, {{}, {}, {}, {}, runHours}, 0, 5},
      {"ModeStatus second", &L::RequestModeStatus, {{}, CrcFrame(0x33, Bytes(28, 2))}, 2, 2},
  };
  for (const Case& c : cases) {
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
  }
}

// The CRC-only readings take a value only from a checked frame of the right code; a failure
// leaves the previous value.
TEST_F(CommandsTest, ReadingsComeFromCheckedFramesOnly) {
  enum Field { kSpan, kForce, kRun16, kRun32, kPowered };
  const Bytes spanFrame = CrcFrame(0x32, Join({Le32(0x12345678), Le16(7)}));
  Bytes badSpan = CrcFrame(0x32, Join({Le32(0x11111111), Le16(7)}));
  badSpan[4] ^= 0x01;
  const Bytes shortForce = {0x01, 0x34, 0x07, 0x01, 0x02, 0x03};
  struct Case {
    const char* name;
    Command command;
    Bytes reply;
    int expected;
    Field field;
    uint32_t value;
  };
  const std::vector<Case> cases = {
      {"span", &L::RequestSpan, spanFrame, 0, kSpan, 0x12345678},
      {"span bad crc", &L::RequestSpan, badSpan, 1, kSpan, 0x12345678},
      {"span stray byte", &L::RequestSpan, Join({{0x00}, spanFrame}), 1, kSpan, 0x12345678},
      {"force", &L::RequestMaxForce, CrcFrame(0x34, Le16(4500)), 0, kForce, 4500},
      {"force short", &L::RequestMaxForce, shortForce, 1, kForce, 4500},
      {"16 from 32 bits", &L::RequestRunHours16, CrcFrame(0x35, Le32(0x50321)), 0, kRun16, 0x321},
      {"32", &L::RequestRunHours32, CrcFrame(0x35, Le32(100000)), 0, kRun32, 100000},
      {"32 from 16 bits", &L::RequestRunHours32, CrcFrame(0x35, Le16(5)), 1, kRun32, 100000},
      {"powered", &L::RequestPoweredHours, CrcFrame(0x37, Le32(0xFEDCBA98)), 0, kPowered,
       0xFEDCBA98},
      {"powered wrong code", &L::RequestPoweredHours, CrcFrame(0x35, Le32(1)), 1, kPowered,
       0xFEDCBA98},
  };
  for (const Case& c : cases) {
    driver.SetReplyHandler([&](const Bytes&) { return c.reply; }, 30);
    EXPECT_EQ(c.command(link), c.expected) << c.name;
    const uint32_t values[] = {link.span, link.maxForce, link.runHours16, link.runHours32,
                               link.poweredHours};
    EXPECT_EQ(values[c.field], c.value) << c.name;
    clock.Advance(1000);
  }
}

TEST_F(CommandsTest, ReadMemoryWordReadsTheWholeUnsignedRange) {
  Bytes badCrc = CrcFrame(0x36, Le16(7));
  badCrc[5] ^= 0x01;
  struct Case {
    const char* name;
    int delayMs;
    Bytes reply;
    int expected, writes;
  };
  const std::vector<Case> cases = {
      {"0xFFFF", 30, CrcFrame(0x36, Le16(0xFFFF)), 65535, 1},
      // Arriving just after the third poll, the reply is seen by the second attempt.
      {"after the third poll", 200, CrcFrame(0x36, Le16(42)), 42, 2},
      {"bad crc", 30, badCrc, -1, 3},
      {"wrong LEN", 30, CrcFrame(0x36, Le32(42)), -1, 3},
  };
  for (const Case& c : cases) {
    driver.writes.clear();
    driver.ReplyNextWrite(c.reply, c.delayMs);
    EXPECT_EQ(link.ReadMemoryWord(0x0020), c.expected) << c.name;
    EXPECT_EQ(static_cast<int>(driver.writes.size()), c.writes) << c.name;
    clock.Advance(1000);
  }
}

Bytes Text(const std::string& text, size_t width) {
  Bytes bytes(text.begin(), text.end());
  bytes.resize(width, 0);
  return bytes;
}

TEST_F(CommandsTest, ReadIdentificationFillsTheTextsFromThreePages) {
  using namespace std::string_literals;
  // Words 4..21 of parameter memory, answered page by page; `pages` limits the answers.
  const auto reply = [&](Bytes block, int pages = 3) {
    block.resize(36, 0);
    for (int page = 0; page < pages; ++page) {
      driver.ReplyNextWrite(SumFrame(0x0D, Bytes(&block[page * 12], &block[page * 12] + 12)), 10);
    }
  };
  struct Case {
    Bytes block;
    const char *serial, *model, *part;
  };
  const std::vector<Case> cases = {
      {Join({Le32(123456), Text("MODEL-ABCDEF", 12), Text("PART-0123456789A", 16)}), "123456",
       "MODEL-ABCDEF", "PART-0123456789A"},
      {Join({Le32(0x80000000), Text("MODEL-ABCDE", 12), Text("P1", 16)}), "-2147483648",
       "MODEL-ABCDE", "P1"},
      {Join({Le32(0), Text("AB\0CD"s, 12), Text("", 16)}), "0", "AB", ""},
  };
  for (const Case& c : cases) {
    driver.writes.clear();
    reply(c.block);
    EXPECT_EQ(link.ReadIdentification(), 0) << c.serial;
    EXPECT_STREQ(link.identSerialNumber, c.serial);
    EXPECT_STREQ(link.identModelNumber, c.model);
    EXPECT_STREQ(link.identPartNumber, c.part);
  }
  EXPECT_EQ(driver.writes,
            (std::vector<Bytes>{SumFrame(0x0C, {4, 0, 6, 0}), SumFrame(0x0C, {10, 0, 6, 0}),
                                SumFrame(0x0C, {16, 0, 6, 0})}));

  // The third page fails five times: the texts of the last good read stay.
  reply(cases[0].block, 2);
  driver.writes.clear();
  EXPECT_EQ(link.ReadIdentification(), 2);
  EXPECT_EQ(driver.writes.size(), 7u);
  EXPECT_STREQ(link.identSerialNumber, "0");
  EXPECT_STREQ(link.identModelNumber, "AB");
}

TEST_F(CommandsTest, WriteWordsWaitsForAckThenWriteDone) {
  const uint16_t words[6] = {0x0102, 0x0304, 0x0506, 0x0708, 0x090A, 0x0B0C};
  const Bytes payload = {0x0C, 0x00, 0x02, 0x01, 0x04, 0x03, 0x06,
                         0x05, 0x08, 0x07, 0x0A, 0x09, 0x0C, 0x0B};
  struct Case {
    const char* name;
    int crcMode;
    std::vector<ReplyChunk> reply;
    int expected, elapsedMs;
  };
  const std::vector<Case> cases = {
      {"sum", 0, {{10, kAckSum}, {300, kWriteDoneSum}}, 0, 304},
      {"crc", 1, {{10, kAckCrc}, {900, kWriteDoneCrc}}, 0, 904},
      {"nak", 1, {{10, kNakCrc}}, 1, 14},
      {"no ack", 1, {}, 21, 500},
      {"write done too late", 1, {{10, kAckCrc}, {1100, kWriteDoneCrc}}, 21, 1014},
      {"ack twice", 1, {{10, kAckCrc}, {50, kAckCrc}}, 1, 54},
  };
  for (const Case& c : cases) {
    link.crcMode = c.crcMode;
    driver.ReplyNextWriteInChunks(c.reply);
    const int64_t start = clock.NowMs();
    EXPECT_EQ(link.WriteWords(12, words, 6), c.expected) << c.name;
    EXPECT_EQ(driver.writes.back(), c.crcMode ? CrcFrame(0x09, payload) : SumFrame(0x09, payload));
    EXPECT_EQ(Elapsed(start), c.elapsedMs) << c.name;
    clock.Advance(2000);
  }
  const size_t sent = driver.writes.size();
  EXPECT_EQ(link.WriteWords(0, words, 0), 1);
  EXPECT_EQ(link.WriteWords(0, words, 15), 1);
  EXPECT_EQ(driver.writes.size(), sent);
}

}  // namespace
}  // namespace velmar::test
