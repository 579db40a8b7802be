#include "display_pause_clock.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "app/setup_transfer.h"
#include "base/temp_folder.h"
#include "setup/setup_file.h"
#include "support/scripted_serial_driver.h"
#include "unit/app/sim_bench.h"

namespace velmar {
namespace {

// Steps: 'u' uses the serial port, 'p' pauses 100 ms.
TEST(DisplayPauseClockTest, SkipsOnlyPausesWithNoPortUseSinceThePreviousPause) {
  struct Case {
    const char* steps;
    bool skip;
    int expectedMs;
  };
  const Case cases[] = {
      {"ppp", true, 0},    {"ppp", false, 300},    {"upp", true, 100},   {"upup", true, 200},
      {"pupp", true, 100}, {"uuppup", true, 200},  {"upup", false, 200}, {"", true, 0},
      {"pppu", true, 0},   {"upppupu", true, 200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.steps) + (c.skip ? " skipping" : " keeping"));
    test::VirtualClock time;
    test::ScriptedSerialDriver port(time);
    CountingSerialDriver counted(port);
    DisplayPauseClock clock(time, counted, c.skip);
    for (const char* step = c.steps; *step != '\0'; ++step) {
      if (*step == 'u') {
        counted.ReceiveCount(0);
      } else {
        clock.SleepMs(100);
      }
    }
    EXPECT_EQ(std::accumulate(time.sleeps.begin(), time.sleeps.end(), 0), c.expectedMs);
  }
}

// A setup upload keeps every one of its waits; saving its file afterwards pauses no more, the
// upload's wait after the last page having followed the port's last use.
TEST(DisplayPauseClockTest, KeepsTheUploadsWaitsAndSkipsTheSavingAnimation) {
  struct Bench {
    explicit Bench(bool skip) : pacing(clock, counted, skip) { paced.link.OpenPort(1, 19200); }
    test::VirtualClock clock;
    SimulatedActuator actuator{test::Actuator(0x30A)};
    test::SimSerialDriver driver{actuator, clock};
    CountingSerialDriver counted{driver};
    DisplayPauseClock pacing;
    test::RecordingUi ui;
    Session paced{counted, pacing, ui};
  };
  TempFolder folder;
  ASSERT_TRUE(folder.Valid());
  std::vector<int> sleeps[2];
  std::vector<int> saveSleeps[2];
  for (const bool skip : {false, true}) {
    Bench bench(skip);
    SetupTransfer(bench.paced).Upload();
    sleeps[skip] = bench.clock.sleeps;
    bench.clock.sleeps.clear();
    ASSERT_EQ(SaveSetupFile(bench.paced.setup, (folder.Path() / "unit.cfg").string(), bench.ui,
                            bench.pacing),
              FileResult::kOk);
    saveSleeps[skip] = bench.clock.sleeps;
  }
  EXPECT_GT(sleeps[false].size(), 18u);
  EXPECT_EQ(sleeps[true], sleeps[false]);
  ASSERT_GT(saveSleeps[false].size(), 1u);
  EXPECT_EQ(saveSleeps[true], std::vector<int>{});
}

}  // namespace
}  // namespace velmar
