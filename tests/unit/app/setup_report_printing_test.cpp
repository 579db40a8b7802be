#include "app/setup_report_printing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "simulated_actuator.h"
#include "support/recording_ui.h"
#include "support/sim_serial_driver.h"
#include "support/virtual_clock.h"

namespace velmar {
namespace {

class PrintSetupReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    session.link.OpenPort(1, 19200);
    ASSERT_EQ(session.VerifyCommunication(), 0);
    clock.sleeps.clear();
  }

  test::VirtualClock clock;
  SimulatedActuator actuator;
  test::SimSerialDriver driver{actuator, clock};
  test::RecordingUi ui;
  Session session{driver, clock, ui};
};

TEST_F(PrintSetupReportTest, PrintsTheLiveReadingsOrTheComError) {
  actuator.State().status.motorTemperature = {512, 1, 1023};
  actuator.State().status.electronicsTemperature = 190;

  EXPECT_TRUE(PrintSetupReport(session));

  ASSERT_EQ(ui.events.size(), 1u);
  const std::string& printed = ui.events.front();
  EXPECT_EQ(printed.rfind("Print|\n\n\n\tActuator Setup Parameters", 0), 0u);
  EXPECT_NE(printed.find("\tFirmware Version :\t\t3.10\n\tMotor Temp 1 :\t\t\t75 Deg C\n\tMotor "
                         "Temp 2 :\t\t\t150 Deg C\n\tMotor Temp 3 :\t\t\t0 Deg C\n\tElectronics "
                         "Temp  :\t\t93 Deg C\n"),
            std::string::npos);
  EXPECT_EQ(clock.LongSleeps(), std::vector<int>{100});

  // Without a status frame nothing is printed.
  ui.events.clear();
  clock.sleeps.clear();
  actuator.DropReplies(5);
  EXPECT_FALSE(PrintSetupReport(session));
  EXPECT_EQ(ui.events,
            std::vector<std::string>{"Error|Status Com Error|Read temperatures com error!"});
  std::vector<int> sleeps;
  for (int attempt = 0; attempt < 5; ++attempt) {
    sleeps.insert(sleeps.end(), 30, 100);
    sleeps.push_back(250);
  }
  EXPECT_EQ(clock.LongSleeps(), sleeps);
}

}  // namespace
}  // namespace velmar
