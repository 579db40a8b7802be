#include <functional>
#include <string>
#include <vector>

#include "link_fixture.h"

namespace velmar::test {
namespace {

using Command = std::function<LinkResult(ActuatorLink&)>;
// The commands with arguments; the memory word and status flags they read land here.
class CommandsTest : public LinkTest {
 protected:
  uint16_t word = 0;
  int flags = 0;
  const Command readWord = [this](L& l) { return l.ReadMemoryWord(0x1234, word); };
  const Command modeStatus = [this](L& l) { return l.RequestModeStatus(flags); };
  const Command writeWord = [](L& l) { return l.WriteMemoryWord(0x10, 0xBEEF); };
  const Command writeRecord = [](L& l) {
    const uint16_t record[3] = {0x1111, 0x2222, 0x3333};
    return l.WriteRecordWords(0x502, record);
  };
  const Command erase = [](L& l) { return l.EraseRecordWords(0x600); };
};

// An actuator that never answers: every command spends all its attempts, limits and sleeps.
TEST_F(CommandsTest, SilentActuatorCostsEachCommandItsAttemptsAndSleeps) {
  struct Case {
    const char* name;
    Command command;
    int crcMode, expected, attempts;
    Bytes request;  // every attempt sends this frame
    int sleeps, sleepMs, elapsedMs;
  };
  const Case cases[] = {
      {"EnableWrites", &L::EnableWrites, 0, 1, 3, Sum(0x05), 0, 0, 600},
      {"DisableWrites", &L::DisableWrites, 1, 1, 3, Crc(0x08), 3, 100, 900},
      {"AfterDownload", &L::DisableWritesAfterDownload, 1, 21, 8, Crc(0x08), 8, 100, 2400},
      {"ClearFaults", &L::ClearFaults, 1, 2, 8, Crc(0x11), 8, 40, 4320},
      {"ResetRunHours", &L::ResetRunHours, 0, 21, 3, Crc(0x16), 3, 250, 1350},
      {"WriteRecord", writeRecord, 1, 2, 3, Crc(9, "81 02 11 11 22 22 33 33"), 0, 0, 1500},
      {"EraseRecord", erase, 0, 2, 3, Crc(9, "00 03 00 00 00 00 00 00"), 0, 0, 1500},
      {"ReadIdent", &L::ReadIdentification, 0, 2, 5, Sum(0x0C, "04 00 06 00"), 0, 0, 1000},
      {"RequestSpan", &L::RequestSpan, 0, 1, 1, Crc(0x12), 1, 60, 260},
      {"RequestMaxForce", &L::RequestMaxForce, 0, 1, 1, Crc(0x14), 1, 60, 260},
      {"RunHours16", &L::RequestRunHours16, 0, 1, 5, Crc(0x15), 5, 100, 3000},
      {"PoweredHours", &L::RequestPoweredHours, 0, 1, 5, Crc(0x17), 5, 100, 3000},
      {"ReadMemoryWord", readWord, 0, -1, 3, Crc(0x19, "34 12"), 9, 66, 594},
      {"WriteMemoryWord", writeWord, 0, -1, 3, Crc(0x1A, "10 00 EF BE"), 3, 100, 900},
      {"ModeStatus", modeStatus, 0, -1, 5, Crc(0x13), 5, 100, 500},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    driver.writes.clear();
    clock.sleeps.clear();
    link.SetCrcMode(c.crcMode);
    const int64_t start = clock.NowMs();
    EXPECT_EQ(Code(c.command(link)), c.expected);
    EXPECT_EQ(driver.writes, std::vector<Bytes>(c.attempts, c.request));
    EXPECT_EQ(clock.LongSleeps(), std::vector<int>(c.sleeps, c.sleepMs));
    EXPECT_EQ(Elapsed(start), c.elapsedMs);
  }
}

// Failed attempts (negative acknowledge, silence, a wrong or damaged frame) are retried; the first
// good reply ends the command. The CRC-only readings take a value only from a checked frame of the
// right code, a failure leaves the previous value; the memory word covers the unsigned range.
TEST_F(CommandsTest, RetriesUntilAGoodReplyAndReadsValuesFromCheckedFramesOnly) {
  enum Field { kNone, kSpan, kForce, kRun16, kRun32, kPowered, kWord, kFlags };
  const auto span = &L::RequestSpan, force = &L::RequestMaxForce, run16 = &L::RequestRunHours16,
             run32 = &L::RequestRunHours32, powered = &L::RequestPoweredHours;
  const Bytes spanFrame = Crc(0x32, "78 56 34 12 07 00"), _;  // _: silence
  Bytes badSpan = Crc(0x32, "11 11 11 11 07 00"), badWord = Crc(0x36, "07 00");
  badSpan[4] ^= 0x01;
  badWord[5] ^= 0x01;
  struct Case {
    const char* name;
    Command command;
    std::vector<Bytes> replies;  // one per attempt, then silence
    int expected, writes;
    Field field = kNone;
    uint32_t value = 0;
    int delayMs = 30;
  };
  const Case cases[] = {
      {"enable nak, ack", &L::EnableWrites, {kNakCrc, kAckCrc}, 0, 2},
      {"clear eighth", &L::ClearFaults, {_, _, _, _, _, _, _, kAckCrc}, 0, 8},
      {"write word nak, ack", writeWord, {kNakCrc, kAckCrc}, 0, 2},
      {"status second", modeStatus, {_, CrcFrame(0x33, Bytes(28, 2))}, 0, 2, kFlags, 2},
      {"span", span, {spanFrame}, 0, 1, kSpan, 0x12345678},
      {"span bad crc", span, {badSpan}, 1, 1, kSpan, 0x12345678},
      {"span stray byte", span, {Join({{0}, spanFrame})}, 1, 1, kSpan, 0x12345678},
      {"force", force, {Crc(0x34, "94 11")}, 0, 1, kForce, 4500},
      {"force short", force, {Hex("01 34 07 01 02 03")}, 1, 1, kForce, 4500},
      {"16 of 32 bits", run16, {_, _, _, _, Crc(0x35, "21 03 05 00")}, 0, 5, kRun16, 0x321},
      {"32", run32, {Crc(0x35, "A0 86 01 00")}, 0, 1, kRun32, 100000},
      {"32 from 16 bits", run32, {Crc(0x35, "05 00")}, 1, 5, kRun32, 100000},
      {"powered", powered, {Crc(0x37, "98 BA DC FE")}, 0, 1, kPowered, 0xFEDCBA98},
      {"powered wrong code", powered, {Crc(0x35, "01 00 00 00")}, 1, 5, kPowered, 0xFEDCBA98},
      {"word 0xFFFF", readWord, {Crc(0x36, "FF FF")}, 0, 1, kWord, 65535},
      // Arriving just after the third poll, the reply is seen by the second attempt.
      {"word after the third poll", readWord, {Crc(0x36, "2A 00")}, 0, 2, kWord, 42, 200},
      {"word bad crc", readWord, {badWord}, -1, 3, kWord, 42},
      {"word wrong LEN", readWord, {Crc(0x36, "2A 00 00 00")}, -1, 3, kWord, 42},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    driver.writes.clear();
    link.SetCrcMode(true);
    for (const Bytes& reply : c.replies) {
      if (reply.empty()) {
        driver.SilenceNextWrites();
      } else {
        driver.ReplyNextWrite(reply, c.delayMs);
      }
    }
    EXPECT_EQ(Code(c.command(link)), c.expected);
    EXPECT_EQ(static_cast<int>(driver.writes.size()), c.writes);
    const uint32_t values[] = {0,
                               link.Span(),
                               link.MaxForce(),
                               link.RunHours16(),
                               link.RunHours32(),
                               link.PoweredHours(),
                               word,
                               static_cast<uint32_t>(flags)};
    EXPECT_EQ(values[c.field], c.value);
    clock.Advance(1000);
  }
  EXPECT_EQ(link.StatusFrame()[3], 2) << "the accepted status frame is kept";
}

TEST_F(CommandsTest, ReadIdentificationFillsTheTextsFromThreePages) {
  using namespace std::string_literals;
  struct Case {
    std::string serial, model, part, texts;  // serial in hex; texts as read, '|'-separated
  };
  // Words 4..21 of parameter memory, NUL-padded, answered page by page.
  const auto reply = [&](const Case& c) {
    std::string texts = c.model + std::string(12 - c.model.size(), '\0') + c.part;
    texts.resize(32);  // to word 21
    const Bytes block = Join({Hex(c.serial), Bytes(texts.begin(), texts.end())});
    for (int page = 0; page < 3; ++page) {
      driver.ReplyNextWrite(
          SumFrame(0x0D, Bytes(block.data() + page * 12, block.data() + page * 12 + 12)), 10);
    }
  };
  const auto texts = [&] {
    return std::string(link.IdentSerialNumber()) + "|" + link.IdentModelNumber() + "|" +
           link.IdentPartNumber();
  };
  const Case cases[] = {
      {"40 E2 01 00", "MODEL-ABCDEF", "PART-0123456789A", "123456|MODEL-ABCDEF|PART-0123456789A"},
      {"00 00 00 80", "MODEL-ABCDE", "P1", "-2147483648|MODEL-ABCDE|P1"},
      {"00 00 00 00", "AB\0CD"s, "", "0|AB|"},
  };
  for (const Case& c : cases) {
    driver.writes.clear();
    reply(c);
    EXPECT_EQ(Code(link.ReadIdentification()), 0) << c.texts;
    EXPECT_EQ(texts(), c.texts);
  }
  EXPECT_EQ(driver.writes, (std::vector<Bytes>{Sum(0x0C, "04 00 06 00"), Sum(0x0C, "0A 00 06 00"),
                                               Sum(0x0C, "10 00 06 00")}));
}

TEST_F(CommandsTest, WriteWordsWaitsForAckThenWriteDone) {
  const uint16_t words[6] = {0x0102, 0x0304, 0x0506, 0x0708, 0x090A, 0x0B0C};
  const Bytes payload = Hex("0C 00 02 01 04 03 06 05 08 07 0A 09 0C 0B");
  struct Case {
    const char* name;
    int crcMode;
    std::vector<ReplyChunk> reply;
    int expected, elapsedMs;
  };
  const Case cases[] = {
      {"sum", 0, {{10, kAckSum}, {300, kDoneSum}}, 0, 304},
      {"crc", 1, {{10, kAckCrc}, {900, kDoneCrc}}, 0, 904},
      {"nak", 1, {{10, kNakCrc}}, 1, 14},
      {"no ack", 1, {}, 21, 500},
      {"write done too late", 1, {{10, kAckCrc}, {1100, kDoneCrc}}, 21, 1014},
      {"ack twice", 1, {{10, kAckCrc}, {50, kAckCrc}}, 1, 54},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    link.SetCrcMode(c.crcMode);
    driver.ReplyNextWriteInChunks(c.reply);
    const int64_t start = clock.NowMs();
    EXPECT_EQ(Code(link.WriteWords(12, words, 6)), c.expected);
    EXPECT_EQ(driver.writes.back(), c.crcMode ? CrcFrame(0x09, payload) : SumFrame(0x09, payload));
    EXPECT_EQ(Elapsed(start), c.elapsedMs);
    clock.Advance(2000);
  }
  const size_t sent = driver.writes.size();
  EXPECT_EQ(Code(link.WriteWords(0, words, 0)), 1);
  EXPECT_EQ(Code(link.WriteWords(0, words, 15)), 1);
  EXPECT_EQ(driver.writes.size(), sent);
}

}  // namespace
}  // namespace velmar::test
