#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "app/communication_poll.h"
#include "app/pre_checks.h"
#include "support/frame_literals.h"
#include "unit/app/sim_bench.h"

namespace velmar {
namespace {

using test::Bytes;
using Lines = std::vector<std::string>;

const Bytes kSumVersionRequest = test::Hex("01 10 04 15");
const Bytes kCrcVersionRequest = test::Hex("01 10 05 9C 03");

// The main window's poll over an in-process 3.10 actuator, one poll tick per 250 ms of virtual
// time.
struct SessionFixture : test::SimBench {
  explicit SessionFixture(FrameMode mode)
      : SimBench(test::Actuator(0x30A, ModeState::kReset, mode)) {
    poll.comIndicatorsEnabled = true;
  }
  // "state T R version" after each of `ticks` ticks, comma separated.
  std::string Run(int ticks) {
    std::string trace;
    for (int i = 0; i < ticks; ++i) {
      clock.Advance(CommunicationPoll::kIntervalMs);
      poll.Tick();
      trace += (i == 0 ? "" : ",") + std::to_string(poll.pollState) +
               (poll.transmit ? " T" : " -") + (poll.receive ? "R " : "- ") +
               std::to_string(session.link.FirmwareVersion());
    }
    return trace;
  }
  CommunicationPoll poll{session};
};

TEST(VerifyCommunication, AlternatesFormsUntilTheActuatorAnswers) {
  // Who answers: '-' nobody, 'S' a sum actuator, 'C' a CRC actuator; what was sent: S the sum
  // request, C the CRC request. From CRC mode a sum actuator is not asked in its form; the failed
  // verification falls back to sum mode.
  const std::tuple<int, char, const char*, int> cases[] = {
      {0, 'S', "S", 0},      {0, 'C', "SC", 1},     {1, 'C', "C", 1},
      {1, 'S', "CCCCCC", 0}, {0, '-', "SCSCSC", 0},
  };
  for (const auto& [startCrcMode, answerer, forms, crcModeAfter] : cases) {
    SCOPED_TRACE(forms);
    SessionFixture f(answerer == 'S' ? FrameMode::kSum : FrameMode::kCrc);
    f.actuator.DropReplies(answerer == '-' ? 100 : 0);
    f.session.link.SetCrcMode(startCrcMode);
    f.session.link.SetFirmwareVersion(0x205);
    std::vector<Bytes> sent;
    for (const char* form = forms; *form != '\0'; ++form) {
      sent.push_back(*form == 'C' ? kCrcVersionRequest : kSumVersionRequest);
    }
    const bool answers = sent.size() < 6;
    EXPECT_EQ(f.session.VerifyCommunication(), answers ? 0 : 1);
    EXPECT_EQ(f.driver.writes, sent);
    EXPECT_EQ(f.session.link.CrcMode(), crcModeAfter);
    EXPECT_EQ(f.session.link.FirmwareVersion(), answers ? 0x30A : 0x205);  // kept on failure
    EXPECT_EQ(f.clock.LongSleeps(), std::vector<int>(sent.size(), 60));
  }
}

TEST(VerifyCommunication, FindsASumUnitConnectedInPlaceOfACrcUnit) {
  SessionFixture f(FrameMode::kCrc);
  ASSERT_EQ(f.session.VerifyCommunication(), 0);
  ASSERT_EQ(f.session.link.CrcMode(), 1);
  f.actuator.State().frameMode = FrameMode::kSum;
  EXPECT_EQ(f.session.VerifyCommunication(), 1);
  EXPECT_EQ(f.session.VerifyCommunication(), 0);
  EXPECT_EQ(f.session.link.CrcMode(), 0);
}

// The checks' messages are the dispatch and transfer tests'.
TEST(PreChecks, AKnownVersionIsNotAskedAgainAndAFailedCheckKeepsIt) {
  SessionFixture f(FrameMode::kCrc);
  f.session.link.SetFirmwareVersion(0x300);
  EXPECT_TRUE(VersionCheckIfUnread(f.session));
  EXPECT_TRUE(f.driver.writes.empty());
  f.actuator.DropReplies(100);
  EXPECT_FALSE(ForcedVersionCheck(f.session));
  EXPECT_EQ(f.session.link.FirmwareVersion(), 0x300);
}

TEST(CommunicationPoll, FollowsTheActuatorsFrameMode) {
  const std::tuple<FrameMode, bool, const char*, int> cases[] = {
      // The CRC request goes unanswered; from then on the sum form is asked every second tick.
      {FrameMode::kSum, false, "1 T- 0,2 -- 0,3 T- 0,2 -R 778,3 T- 778,2 -R 778,3 T- 778", 0},
      // A CRC actuator is only listened to after a good reply, which fails and asks anew.
      {FrameMode::kCrc, false, "1 T- 0,1 -R 778,2 -- 0,3 T- 0,1 -R 778,2 -- 0,3 T- 0", 1},
      {FrameMode::kCrc, true, "1 T- 0,2 -- 0,3 T- 0,0 -- 0,1 T- 0,2 -- 0,3 T- 0", 0},
  };
  for (const auto& [mode, silent, trace, crcModeAfter] : cases) {
    SessionFixture f(mode);
    f.actuator.DropReplies(silent ? 100 : 0);
    EXPECT_EQ(f.Run(7), trace);
    EXPECT_EQ(f.session.link.CrcMode(), crcModeAfter) << trace;
    EXPECT_EQ(f.session.lastPollVersion, silent ? -1 : 778) << trace;
  }
}

TEST(CommunicationPoll, ANewVersionFromThePollOrAVerifyRebuildsTheConfigurationList) {
  SessionFixture f(FrameMode::kSum);
  f.session.OpenConfigDatabase(VELMAR_DEMO_DB);
  ASSERT_EQ(f.session.configList->InitConfigList(), 0);
  Lines& labels = f.session.configList->labels;
  f.Run(4);
  ASSERT_EQ(f.session.lastPollVersion, 0x30A);
  const Lines forThreeTen = labels;
  ASSERT_FALSE(forThreeTen.empty());
  labels = {"untouched"};
  f.Run(2);
  EXPECT_EQ(labels, Lines{"untouched"});  // the same version again
  f.actuator.State().firmwareMajor = 2;
  f.actuator.State().firmwareMinor = 0;
  ASSERT_EQ(f.session.VerifyCommunication(), 0);
  EXPECT_EQ(f.session.lastPollVersion, 0x200);
  EXPECT_NE(labels, Lines{"untouched"});
  EXPECT_NE(labels, forThreeTen);
  labels = {"untouched"};
  f.actuator.State().firmwareMajor = 3;
  f.actuator.State().firmwareMinor = 10;
  f.Run(2);
  EXPECT_EQ(labels, forThreeTen);
}

TEST(CommunicationPoll, SendsNothingWhileTheIndicatorsAreOffNorFromATickDuringAWait) {
  SessionFixture f(FrameMode::kSum);
  f.Run(2);
  f.poll.comIndicatorsEnabled = false;
  f.session.link.SetFirmwareVersion(0x30A);
  EXPECT_EQ(f.Run(2), "0 -- 778,0 -- 778");
  EXPECT_EQ(f.driver.writes.size(), 1u);
  // The listen waits on the clock; a nested tick there would send in the middle of it.
  f.poll.comIndicatorsEnabled = true;
  f.Run(1);
  f.clock.onSleep = [&](int) { f.poll.Tick(); };
  f.Run(1);
  EXPECT_EQ(f.driver.writes.size(), 2u);
  EXPECT_EQ(f.poll.pollState, 2);
}

}  // namespace
}  // namespace velmar
