#include "app/communication_poll.h"

#include <gtest/gtest.h>

#include <string>

#include "simulated_actuator.h"
#include "support/recording_ui.h"
#include "support/sim_serial_driver.h"
#include "support/virtual_clock.h"

namespace velmar {
namespace {

// The poll of the main window against an in-process actuator, one tick per 250 ms of virtual
// time.
struct PollFixture {
  explicit PollFixture(const ActuatorState& state) : actuator(state) {
    session.link.OpenPort(1, 19200);
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
               std::to_string(session.link.firmwareVersion);
    }
    return trace;
  }
  test::VirtualClock clock;
  SimulatedActuator actuator;
  test::SimSerialDriver driver{actuator, clock};
  test::RecordingUi ui;
  Session session{driver, clock, ui};
  CommunicationPoll poll{session};
};

ActuatorState Actuator(FrameMode mode, uint8_t major, uint8_t minor) {
  ActuatorState state;
  state.frameMode = mode;
  state.firmwareMajor = major;
  state.firmwareMinor = minor;
  return state;
}

TEST(CommunicationPoll, FollowsTheActuatorsFrameMode) {
  struct Case {
    FrameMode mode;
    bool silent;
    const char* trace;
    int crcModeAfter;
  };
  const Case cases[] = {
      // The CRC request goes unanswered; from then on the sum form is asked every second tick.
      {FrameMode::kSum, false, "1 T- 0,2 -- 0,3 T- 0,2 -R 778,3 T- 778,2 -R 778,3 T- 778", 0},
      // A CRC actuator is only listened to after a good reply, which fails and asks anew.
      {FrameMode::kCrc, false, "1 T- 0,1 -R 778,2 -- 0,3 T- 0,1 -R 778,2 -- 0,3 T- 0", 1},
      {FrameMode::kCrc, true, "1 T- 0,2 -- 0,3 T- 0,0 -- 0,1 T- 0,2 -- 0,3 T- 0", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.trace);
    PollFixture f(Actuator(c.mode, 3, 10));
    if (c.silent) {
      f.actuator.DropReplies(100);
    }
    EXPECT_EQ(f.Run(7), c.trace);
    EXPECT_EQ(f.session.link.crcMode, c.crcModeAfter);
    EXPECT_EQ(f.session.lastPollVersion, c.silent ? -1 : 778);
  }
}

TEST(CommunicationPoll, RebuildsTheConfigurationListWhenTheVersionChanges) {
  PollFixture f(Actuator(FrameMode::kSum, 3, 10));
  f.session.OpenConfigDatabase(VELMAR_DEMO_DB);
  ASSERT_EQ(f.session.configList->InitConfigList(), 0);
  f.Run(4);
  ASSERT_EQ(f.session.lastPollVersion, 0x30A);
  const std::vector<std::string> forThreeTen = f.session.configList->labels;
  ASSERT_FALSE(forThreeTen.empty());
  // The same version again leaves the list alone.
  f.session.configList->labels = {"untouched"};
  f.Run(2);
  EXPECT_EQ(f.session.configList->labels, std::vector<std::string>{"untouched"});
  // Another actuator answers with 2.00: the list is rebuilt for it.
  f.actuator.State().firmwareMajor = 2;
  f.actuator.State().firmwareMinor = 0;
  f.Run(2);
  EXPECT_EQ(f.session.lastPollVersion, 0x200);
  EXPECT_NE(f.session.configList->labels, std::vector<std::string>{"untouched"});
  EXPECT_NE(f.session.configList->labels, forThreeTen);
}

TEST(CommunicationPoll, SendsNothingWhileTheIndicatorsAreOff) {
  PollFixture f(Actuator(FrameMode::kCrc, 3, 10));
  f.Run(2);
  f.poll.comIndicatorsEnabled = false;
  f.session.link.firmwareVersion = 0x30A;
  const std::size_t sent = f.driver.writes.size();
  EXPECT_EQ(f.Run(2), "0 -- 778,0 -- 778");
  EXPECT_EQ(f.driver.writes.size(), sent);
}

TEST(CommunicationPoll, ATimerEventDuringAWaitDoesNotStartAnotherTick) {
  PollFixture f(Actuator(FrameMode::kSum, 3, 10));
  f.Run(1);
  // The listen waits on the clock; a nested tick there would send in the middle of it.
  f.clock.onSleep = [&](int) { f.poll.Tick(); };
  f.Run(1);
  EXPECT_EQ(f.driver.writes.size(), 1u);
  EXPECT_EQ(f.poll.pollState, 2);
}

}  // namespace
}  // namespace velmar
