#include "link/frame_trace.h"

#include <stdlib.h>

#include <functional>

#include "base/temp_folder.h"
#include "link_fixture.h"
#include "support/file_bytes.h"

namespace velmar::test {
namespace {

class FrameTraceTest : public LinkTest {
 protected:
  // The trace the link wrote while `exchange` ran.
  std::string TraceOf(const std::function<void()>& exchange) {
    const std::string path = (folder.Path() / ("trace" + std::to_string(++runs))).string();
    std::unique_ptr<FrameTrace> trace;
    std::string error;
    EXPECT_TRUE(FrameTrace::OpenRequested(path, trace, error)) << error;
    link.SetTrace(trace.get());
    exchange();
    link.SetTrace(nullptr);
    trace.reset();
    return ReadBytes(path);
  }

  TempFolder folder;
  int runs = 0;
};

TEST_F(FrameTraceTest, OneLinePerFrameWithTimeDirectionBytesAndName) {
  const Bytes words = SumFrame(0x0D, Bytes(12, 0x11));
  struct Case {
    const char* name;
    std::function<void()> script;  // the driver's part
    std::function<void(ActuatorLink&)> exchange;
    const char* trace;
  };
  const auto readWords = [](ActuatorLink& l) { l.ReadWords(4); };
  const auto writeEnable = [](ActuatorLink& l) { l.EnableWrites(); };
  const Case cases[] = {
      {"read words and the reply, read once stable (8 ms later)",
       [&] { driver.ReplyNextWrite(words, 3); }, readWords,
       "1000 TX 01 0C 08 04 00 06 00 1F [read-words]\n"
       "1008 RX 01 0D 10 11 11 11 11 11 11 11 11 11 11 11 11 EA [words]\n"},
      {"a stray byte before the acknowledge",
       [&] {
         driver.ReplyNextWrite(Join({{0x7F}, kAckSum}), 3);
       },
       writeEnable,
       "1000 TX 01 05 04 0A [write-enable]\n1008 RX 7F 01 06 04 0B [stray-byte+ack]\n"},
      // The retries show: every attempt is a line of its own.
      {"noise instead of a reply, then silence", [&] { driver.ReplyNextWrite(Hex("FF FE FD FC")); },
       writeEnable,
       "1000 TX 01 05 04 0A [write-enable]\n1004 RX FF FE FD FC [no-frame]\n"
       "1004 TX 01 05 04 0A [write-enable]\n1204 TX 01 05 04 0A [write-enable]\n"},
      {"a code the protocol does not have", [&] { driver.ReplyNextWrite(Hex("01 20 04 25")); },
       writeEnable,
       "1000 TX 01 05 04 0A [write-enable]\n1004 RX 01 20 04 25 [unknown]\n"
       "1004 TX 01 05 04 0A [write-enable]\n1204 TX 01 05 04 0A [write-enable]\n"},
      {"a write the driver refuses is not traced as sent", [&] { driver.writeResult = -3; },
       readWords, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    driver.writeResult = 0;
    clock.Advance(1000 - clock.NowMs());
    c.script();
    const std::string trace = TraceOf([&] { c.exchange(link); });
    EXPECT_EQ(trace, c.trace);
  }
}

TEST_F(FrameTraceTest, WithoutATraceNothingIsWrittenAndTheExchangeIsUnchanged) {
  driver.ReplyNextWrite(kAckSum, 3);
  EXPECT_EQ(Code(link.EnableWrites()), 0);
  EXPECT_EQ(clock.NowMs(), 1008);
  EXPECT_EQ(EntryCount(folder.Path()), 0);
}

TEST(FrameTraceOpenTest, TheOptionComesFirstThenTheEnvironment) {
  TempFolder folder;
  const std::string option = (folder.Path() / "option.trace").string();
  const std::string environment = (folder.Path() / "environment.trace").string();
  struct Case {
    const char* name;
    std::string option;
    const char* environment;  // nullptr: unset
    bool opened;
    const char* file;  // the file created, nullptr: none
    std::string error;
  };
  const Case cases[] = {
      {"neither", "", nullptr, true, nullptr, ""},
      {"the option", option, nullptr, true, "option.trace", ""},
      {"the environment", "", environment.c_str(), true, "environment.trace", ""},
      {"the option over the environment", option, environment.c_str(), true, "option.trace", ""},
      {"an empty environment variable", "", "", true, nullptr, ""},
      {"a folder that does not exist", (folder.Path() / "no/such.trace").string(), nullptr, false,
       nullptr,
       "cannot open trace file " + (folder.Path() / "no/such.trace").string() +
           ": No such file or directory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(option);
    std::filesystem::remove(environment);
    if (c.environment != nullptr) {
      setenv("VELMAR_TRACE", c.environment, 1);
    } else {
      unsetenv("VELMAR_TRACE");
    }
    std::unique_ptr<FrameTrace> trace;
    std::string error;
    EXPECT_EQ(FrameTrace::OpenRequested(c.option, trace, error), c.opened);
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(trace != nullptr, c.file != nullptr);
    EXPECT_EQ(EntryCount(folder.Path()), c.file != nullptr ? 1 : 0);
    if (c.file != nullptr) {
      EXPECT_TRUE(std::filesystem::exists(folder.Path() / c.file));
    }
  }
  unsetenv("VELMAR_TRACE");
}

TEST(FrameTraceOpenTest, LinesAreAppendedToAnExistingTrace) {
  TempFolder folder;
  const std::string path = (folder.Path() / "t").string();
  WriteBytes(path, "earlier\n");
  std::unique_ptr<FrameTrace> trace;
  std::string error;
  ASSERT_TRUE(FrameTrace::OpenRequested(path, trace, error));
  const Bytes ack = kAckCrc;
  trace->Record(-1, TraceDirection::kReceived, ack.data(), static_cast<int>(ack.size()));
  EXPECT_EQ(ReadBytes(path), "earlier\n-1 RX 01 06 05 92 63 [ack]\n");
}

}  // namespace
}  // namespace velmar::test
