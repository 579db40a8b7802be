#include "app/setup_report_printing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "unit/app/sim_bench.h"

namespace velmar {
namespace {

TEST(PrintSetupReport, PrintsTheLiveReadingsOrTheComError) {
  test::SimBench bench;
  ASSERT_EQ(bench.session.VerifyCommunication(), 0);
  bench.clock.sleeps.clear();
  bench.actuator.State().status.motorTemperature = {512, 1, 1023};
  bench.actuator.State().status.electronicsTemperature = 190;

  EXPECT_TRUE(PrintSetupReport(bench.session));

  ASSERT_EQ(bench.ui.events.size(), 1u);
  const std::string& printed = bench.ui.events.front();
  EXPECT_EQ(printed.rfind("Print|\n\n\n\tActuator Setup Parameters", 0), 0u);
  EXPECT_NE(printed.find("\tFirmware Version :\t\t3.10\n\tMotor Temp 1 :\t\t\t75 Deg C\n\tMotor "
                         "Temp 2 :\t\t\t150 Deg C\n\tMotor Temp 3 :\t\t\t0 Deg C\n\tElectronics "
                         "Temp  :\t\t93 Deg C\n"),
            std::string::npos);
  EXPECT_EQ(bench.clock.LongSleeps(), std::vector<int>{100});

  // Without a status frame nothing is printed.
  bench.ui.events.clear();
  bench.clock.sleeps.clear();
  bench.actuator.DropReplies(5);
  EXPECT_FALSE(PrintSetupReport(bench.session));
  EXPECT_EQ(bench.ui.events,
            std::vector<std::string>{"Error|Status Com Error|Read temperatures com error!"});
  std::vector<int> sleeps;
  for (int attempt = 0; attempt < 5; ++attempt) {
    sleeps.insert(sleeps.end(), 30, 100);
    sleeps.push_back(250);
  }
  EXPECT_EQ(bench.clock.LongSleeps(), sleeps);
}

// A declined printer box is the user's choice; a printer that failed is reported and the command
// fails.
TEST(PrintSetupReport, ThePrintersOutcomeDecidesTheResult) {
  const struct {
    PrintResult printed;
    bool result;
    std::vector<std::string> messages;
  } cases[] = {
      {PrintResult::Printed, true, {}},
      {PrintResult::Cancelled, true, {}},
      {PrintResult::Failed, false, {"Error|Print Error|The report could not be printed."}},
  };
  for (const auto& c : cases) {
    test::SimBench bench;
    ASSERT_EQ(bench.session.VerifyCommunication(), 0);
    bench.ui.printResult = c.printed;

    EXPECT_EQ(PrintSetupReport(bench.session), c.result);

    EXPECT_EQ(bench.ui.Messages(), c.messages);
  }
}

}  // namespace
}  // namespace velmar
