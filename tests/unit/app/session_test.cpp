#include "app/session.h"

#include <gtest/gtest.h>

#include "app/pre_checks.h"
#include "support/recording_ui.h"
#include "support/scripted_serial_driver.h"
#include "support/virtual_clock.h"

namespace velmar {
namespace {

using test::Bytes;
using test::CrcFrame;
using test::SumFrame;

const Bytes kSumVersionRequest = {0x01, 0x10, 0x04, 0x15};
const Bytes kCrcVersionRequest = {0x01, 0x10, 0x05, 0x9C, 0x03};

struct SessionFixture {
  SessionFixture() { session.link.OpenPort(1, 19200); }
  test::VirtualClock clock;
  test::ScriptedSerialDriver driver{clock};
  test::RecordingUi ui;
  Session session{driver, clock, ui};
};

// An actuator that answers only the version request of its own frame format.
test::ScriptedSerialDriver::ReplyHandler VersionAnswerer(bool crc, uint8_t major, uint8_t minor) {
  return [=](const Bytes& request) -> Bytes {
    if (crc && request == kCrcVersionRequest) {
      return CrcFrame(0x10, {major, minor});
    }
    if (!crc && request == kSumVersionRequest) {
      return SumFrame(0x10, {major, minor});
    }
    return {};
  };
}

TEST(VerifyCommunication, AlternatesFormsUntilTheActuatorAnswers) {
  struct Case {
    const char* name;
    int startCrcMode;
    int answerer;  // 0 silent, 1 sum actuator, 2 CRC actuator
    int result;
    std::vector<Bytes> sent;
    int crcModeAfter;
    int versionAfter;
  };
  const std::vector<Case> cases = {
      {"sum actuator answers the first request", 0, 1, 0, {kSumVersionRequest}, 0, 0x30A},
      {"CRC actuator answers the second",
       0,
       2,
       0,
       {kSumVersionRequest, kCrcVersionRequest},
       1,
       0x30A},
      {"CRC mode asks in CRC form first", 1, 2, 0, {kCrcVersionRequest}, 1, 0x30A},
      {"sum actuator is never asked in its form from CRC mode",
       1,
       1,
       1,
       {kCrcVersionRequest, kCrcVersionRequest, kCrcVersionRequest, kCrcVersionRequest,
        kCrcVersionRequest, kCrcVersionRequest},
       1,
       0x205},
      {"silent actuator",
       0,
       0,
       1,
       {kSumVersionRequest, kCrcVersionRequest, kSumVersionRequest, kCrcVersionRequest,
        kSumVersionRequest, kCrcVersionRequest},
       0,
       0x205},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SessionFixture f;
    f.session.link.crcMode = c.startCrcMode;
    f.session.link.firmwareVersion = 0x205;
    if (c.answerer != 0) {
      f.driver.SetReplyHandler(VersionAnswerer(c.answerer == 2, 3, 10));
    }
    EXPECT_EQ(f.session.VerifyCommunication(), c.result);
    EXPECT_EQ(f.driver.writes, c.sent);
    EXPECT_EQ(f.session.link.crcMode, c.crcModeAfter);
    EXPECT_EQ(f.session.link.firmwareVersion, c.versionAfter);
    EXPECT_EQ(f.clock.LongSleeps(), std::vector<int>(c.sent.size(), 60));
  }
}

TEST(VerifyCommunication, RebuildsTheConfigurationListOnlyForANewVersion) {
  SessionFixture f;
  f.session.OpenConfigDatabase(VELMAR_DEMO_DB);
  ASSERT_EQ(f.session.configList->InitConfigList(), 0);
  f.driver.SetReplyHandler(VersionAnswerer(false, 2, 0));
  ASSERT_EQ(f.session.VerifyCommunication(), 0);
  const std::vector<std::string> forTwoZero = f.session.configList->labels;
  // The same version again leaves the list as it stands.
  f.session.configList->labels = {"untouched"};
  ASSERT_EQ(f.session.VerifyCommunication(), 0);
  EXPECT_EQ(f.session.configList->labels, std::vector<std::string>{"untouched"});
  f.driver.SetReplyHandler(VersionAnswerer(false, 3, 10));
  ASSERT_EQ(f.session.VerifyCommunication(), 0);
  EXPECT_NE(f.session.configList->labels, forTwoZero);
  EXPECT_FALSE(f.session.configList->labels.empty());
  EXPECT_EQ(f.session.lastPollVersion, 0x30A);
}

Bytes StatusFrame(uint8_t flags) {
  Bytes data(28, 0);
  data[18] = flags;  // byte 21 of the frame
  return CrcFrame(0x33, data);
}

TEST(PreChecks, ShowTheirWarningsAndPassOnlyWhenSatisfied) {
  const std::string versionFailure =
      "Warning|Program Error|Actuator failed to respond to firmware version request.";
  {
    SCOPED_TRACE("version check if unread skips a known version");
    SessionFixture f;
    f.session.link.firmwareVersion = 0x300;
    EXPECT_TRUE(VersionCheckIfUnread(f.session));
    EXPECT_TRUE(f.driver.writes.empty());
  }
  {
    SCOPED_TRACE("forced version check asks anyway");
    SessionFixture f;
    f.session.link.firmwareVersion = 0x300;
    EXPECT_FALSE(ForcedVersionCheck(f.session));
    EXPECT_EQ(f.ui.Messages(), std::vector<std::string>{versionFailure});
    EXPECT_EQ(f.session.link.firmwareVersion, 0x300);
  }
  {
    SCOPED_TRACE("status check without a reply");
    SessionFixture f;
    int flags = 0;
    EXPECT_FALSE(StatusCheck(f.session, flags));
    EXPECT_EQ(f.ui.Messages(),
              std::vector<std::string>{"Warning|Program Error|Actuator failed to respond to status "
                                       "request."});
  }
  {
    SCOPED_TRACE("status and RESET checks");
    SessionFixture f;
    f.driver.ReplyNextWrite(StatusFrame(0x02));
    f.driver.ReplyNextWrite(StatusFrame(0x01));
    int flags = 0;
    ASSERT_TRUE(StatusCheck(f.session, flags));
    EXPECT_TRUE(ResetCheck(f.session, flags, ResetCommand::UploadSetup));
    ASSERT_TRUE(StatusCheck(f.session, flags));
    const std::vector<std::pair<ResetCommand, std::string>> refusals = {
        {ResetCommand::UploadSetup, "upload setup parameters."},
        {ResetCommand::DownloadSetup, "download setup parameters."},
        {ResetCommand::IdentificationCheck, "run identification check."},
        {ResetCommand::UploadFaults, "upload fault information."},
        {ResetCommand::ClearFaults, "clear fault information."},
    };
    for (const auto& [command, tail] : refusals) {
      EXPECT_FALSE(ResetCheck(f.session, flags, command));
      EXPECT_EQ(f.ui.Messages().back(),
                "Warning|Program Error|Actuator must be in RESET state to " + tail);
    }
  }
}

}  // namespace
}  // namespace velmar
