#include "app/session.h"

#include <gtest/gtest.h>

#include "app/pre_checks.h"
#include "support/recording_ui.h"
#include "support/scripted_serial_driver.h"
#include "support/virtual_clock.h"

namespace velmar {
namespace {

using test::Bytes;

const Bytes kSumVersionRequest = {0x01, 0x10, 0x04, 0x15};
const Bytes kCrcVersionRequest = {0x01, 0x10, 0x05, 0x9C, 0x03};
const std::string kWarning = "Warning|Program Error|";

struct SessionFixture {
  SessionFixture() { session.link.OpenPort(1, 19200); }
  // An actuator that answers only the version request of its own frame format.
  void Answer(bool crc, uint8_t major, uint8_t minor) {
    driver.SetReplyHandler([=](const Bytes& request) -> Bytes {
      if (request == (crc ? kCrcVersionRequest : kSumVersionRequest)) {
        return crc ? test::CrcFrame(0x10, {major, minor}) : test::SumFrame(0x10, {major, minor});
      }
      return {};
    });
  }
  test::VirtualClock clock;
  test::ScriptedSerialDriver driver{clock};
  test::RecordingUi ui;
  Session session{driver, clock, ui};
};

TEST(VerifyCommunication, AlternatesFormsUntilTheActuatorAnswers) {
  struct Case {
    int startCrcMode;
    int answerer;      // 0 silent, 1 sum actuator, 2 CRC actuator
    const char* sent;  // S sum request, C CRC request
    int crcModeAfter;
  };
  const Case cases[] = {
      {0, 1, "S", 0},      {0, 2, "SC", 1}, {1, 2, "C", 1},
      {1, 1, "CCCCCC", 1},  // a sum actuator is never asked in its form from CRC mode
      {0, 0, "SCSCSC", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sent);
    SessionFixture f;
    f.session.link.crcMode = c.startCrcMode;
    f.session.link.firmwareVersion = 0x205;
    if (c.answerer != 0) {
      f.Answer(c.answerer == 2, 3, 10);
    }
    std::vector<Bytes> sent;
    for (const char* form = c.sent; *form != '\0'; ++form) {
      sent.push_back(*form == 'C' ? kCrcVersionRequest : kSumVersionRequest);
    }
    const bool answers = sent.size() < 6;
    EXPECT_EQ(f.session.VerifyCommunication(), answers ? 0 : 1);
    EXPECT_EQ(f.driver.writes, sent);
    EXPECT_EQ(f.session.link.crcMode, c.crcModeAfter);
    EXPECT_EQ(f.session.link.firmwareVersion, answers ? 0x30A : 0x205);  // kept on failure
    EXPECT_EQ(f.clock.LongSleeps(), std::vector<int>(sent.size(), 60));
  }
}

TEST(VerifyCommunication, RebuildsTheConfigurationListOnlyForANewVersion) {
  SessionFixture f;
  f.session.OpenConfigDatabase(VELMAR_DEMO_DB);
  ASSERT_EQ(f.session.configList->InitConfigList(), 0);
  f.Answer(false, 2, 0);
  ASSERT_EQ(f.session.VerifyCommunication(), 0);
  const std::vector<std::string> forTwoZero = f.session.configList->labels;
  f.session.configList->labels = {"untouched"};
  ASSERT_EQ(f.session.VerifyCommunication(), 0);
  EXPECT_EQ(f.session.configList->labels, std::vector<std::string>{"untouched"});
  f.Answer(false, 3, 10);
  ASSERT_EQ(f.session.VerifyCommunication(), 0);
  EXPECT_NE(f.session.configList->labels, forTwoZero);
  EXPECT_FALSE(f.session.configList->labels.empty());
  EXPECT_EQ(f.session.lastPollVersion, 0x30A);
}

Bytes StatusFrame(uint8_t flags) {
  Bytes data(28, 0);
  data[18] = flags;  // byte 21 of the frame
  return test::CrcFrame(0x33, data);
}

// Each command's warnings, exact, are the dispatch test's; the download's is only here.
TEST(PreChecks, PassOnlyWhenSatisfied) {
  SessionFixture f;
  f.session.link.firmwareVersion = 0x300;
  EXPECT_TRUE(VersionCheckIfUnread(f.session));  // a known version is not asked again
  EXPECT_TRUE(f.driver.writes.empty());
  EXPECT_FALSE(ForcedVersionCheck(f.session));
  EXPECT_EQ(f.session.link.firmwareVersion, 0x300);
  f.driver.ReplyNextWrite(StatusFrame(0x02));
  f.driver.ReplyNextWrite(StatusFrame(0x01));
  int flags = 0;
  ASSERT_TRUE(StatusCheck(f.session, flags));
  EXPECT_TRUE(ResetCheck(f.session, flags, ResetCommand::DownloadSetup));
  ASSERT_TRUE(StatusCheck(f.session, flags));
  EXPECT_FALSE(ResetCheck(f.session, flags, ResetCommand::DownloadSetup));
  EXPECT_EQ(f.ui.Messages(),
            (std::vector<std::string>{
                kWarning + "Actuator failed to respond to firmware version request.",
                kWarning + "Actuator must be in RESET state to download setup parameters."}));
}

}  // namespace
}  // namespace velmar
