#include "setup/setup_report.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "faults/temperature.h"
#include "simulated_actuator.h"
#include "support/recording_ui.h"
#include "support/sim_serial_driver.h"
#include "support/virtual_clock.h"

namespace velmar {
namespace {

std::tm MarchFifth2021() {
  std::tm time{};
  time.tm_year = 121;
  time.tm_mon = 2;
  time.tm_mday = 5;
  time.tm_hour = 14;
  time.tm_min = 7;
  return time;
}

// The default record at firmware 3.10, motors at 75 Deg C (count 512) and electronics at count
// 190.
const char* const kDefaultReport =
    "\n\n\n\tActuator Setup Parameters\n\n"
    "\tReport Date/Time :\t03-05-21 14:07\n"
    "\tSerial Number :\t\t00000\n"
    "\tOrvik Part Number :\t0000000-000\n"
    "\tZOLT Model Number :\tLMX4100-262K\n"
    "\tZOLT Part Number :\t5000000-000\n"
    "\tActuator Type :\t\tStand Alone\n"
    "\tCommand Source :\tAnalog\n"
    "\tHome :\t\t\tRetract\n"
    "\tSpan :\t\t\t5.9\n"
    "\tStop Position :\t\t0.1\n"
    "\tInterpolation Table 0\t(4mA)\t: 0.0 inches\n"
    "\tInterpolation Table 1\t(5mA)\t: 0.3688 inches\n"
    "\tInterpolation Table 2\t(6mA)\t: 0.7375 inches\n"
    "\tInterpolation Table 3\t(7mA)\t: 1.1063 inches\n"
    "\tInterpolation Table 4\t(8mA)\t: 1.4750 inches\n"
    "\tInterpolation Table 5\t(9mA)\t: 1.8438 inches\n"
    "\tInterpolation Table 6\t(10mA)\t: 2.2125 inches\n"
    "\tInterpolation Table 7\t(11mA)\t: 2.5813 inches\n"
    "\tInterpolation Table 8\t(12mA)\t: 2.9500 inches\n"
    "\tInterpolation Table 9\t(13mA)\t: 3.3188 inches\n"
    "\tInterpolation Table 10\t(14mA)\t: 3.6875 inches\n"
    "\tInterpolation Table 11\t(15mA)\t: 4.0563 inches\n"
    "\tInterpolation Table 12\t(16mA)\t: 4.4250 inches\n"
    "\tInterpolation Table 13\t(17mA)\t: 4.7938 inches\n"
    "\tInterpolation Table 14\t(18mA)\t: 5.1625 inches\n"
    "\tInterpolation Table 15\t(19mA)\t: 5.5313 inches\n"
    "\tInterpolation Table 16\t(20mA)\t: 5.9000 inches\n"
    "\tPosition Loop Constant :\t20\n"
    "\tCurrent Loop P Constant :\t2.0\n"
    "\tCurrent Loop I Constant :\t400\n"
    "\tCurrent Loop D Constant :\t0\n"
    "\tVelocity Loop P Constant :\t40\n"
    "\tVelocity Loop I Constant :\t10000\n"
    "\tVelocity Loop D Constant :\t0\n"
    "\tMaximum Velocity :\t\t6\n"
    "\tMaximum Force :\t\t1000\n"
    "\tMaximum Home Velocity :\t0.5\n"
    "\tMaximum Home Force :\t500\n"
    "\tMaximum Hold Force :\t\t250\n"
    "\tMaximum Seating Force :\t1000\n"
    "\tSeating Force Duration :\t\t1000\n"
    "\tRun Loss Velocity :\t\t2.0\n"
    "\tDemand Loss Velocity :\t\t2.0\n"
    "\n\n\tActuator Real Time Information\n"
    "\n\tFirmware Version :\t\t3.10\n"
    "\tMotor Temp 1 :\t\t\t75 Deg C\n"
    "\tMotor Temp 2 :\t\t\t75 Deg C\n"
    "\tMotor Temp 3 :\t\t\t75 Deg C\n"
    "\tElectronics Temp  :\t\t93 Deg C\n";

SetupReportReadings Readings(int versionWord, int16_t motorCounts, int16_t elecCounts) {
  SetupReportReadings readings;
  readings.versionWord = versionWord;
  readings.motorTemperatureCounts = {motorCounts, motorCounts, motorCounts};
  readings.electronicsTemperatureCounts = elecCounts;
  return readings;
}

std::string Line(const std::string& text, const std::string& label) {
  const std::size_t start = text.find(label);
  return start == std::string::npos ? "" : text.substr(start, text.find('\n', start) - start);
}

TEST(SetupReportText, DefaultRecordAt310) {
  EXPECT_EQ(SetupReportText(SetupParameters(), Readings(0x30A, 512, 190), MarchFifth2021()),
            kDefaultReport);
}

TEST(SetupReportText, CodedFieldsAndFirmwareDependentLines) {
  struct Case {
    const char* name;
    std::function<void(SetupFields&)> edit;
    int version;
    int16_t motorCounts;
    int16_t elecCounts;
    std::vector<std::string> lines;
  };
  const int elec300 = static_cast<int>(ElecCountsToDegC(300) + 0.5);
  const std::vector<Case> cases = {
      {"actuator type taken modulo 16",
       [](SetupFields& r) { SetField(r.ACTTYPE, "18"); },
       0x30A,
       512,
       190,
       {"\tActuator Type :\t\tLeader Linked to Follower"}},
      {"command source taken modulo 16",
       [](SetupFields& r) { SetField(r.POSCMDSRC, "20"); },
       0x30A,
       512,
       190,
       {"\tCommand Source :\tRS-485"}},
      {"home not reduced",
       [](SetupFields& r) { SetField(r.HOMEPOS, "3"); },
       0x30A,
       512,
       190,
       {"\tHome :\t\t\tUNDEFINED"}},
      {"motor above 150",
       nullptr,
       0x30A,
       1,
       190,
       {"\tMotor Temp 1 :\t\t\t150 Deg C", "\tFirmware Version :\t\t3.10"}},
      {"motor below 0", nullptr, 0x30A, 1023, 190, {"\tMotor Temp 3 :\t\t\t0 Deg C"}},
      {"old firmware reads the 11-bit curve",
       nullptr,
       0x101,
       1023,
       1023,
       {"\tMotor Temp 2 :\t\t\t" + std::to_string(ThermistorCountsToDegC(1023, 1)) + " Deg C",
        "\tElectronics Temp  :\t\t" + std::to_string(ThermistorCountsToDegC(1023, 1)) + " Deg C",
        "\tFirmware Version :\t\t1.01"}},
      {"2.05 electronics on the thermistor curve, not limited",
       nullptr,
       0x205,
       512,
       1023,
       {"\tElectronics Temp  :\t\t-39 Deg C"}},
      {"2.03 electronics on the thermistor curve",
       nullptr,
       0x203,
       512,
       512,
       {"\tElectronics Temp  :\t\t75 Deg C"}},
      {"2.04 electronics sensor",
       nullptr,
       0x204,
       512,
       300,
       {"\tElectronics Temp  :\t\t" + std::to_string(elec300) + " Deg C"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetupParameters record;
    if (c.edit) {
      c.edit(record);
    }
    const std::string text =
        SetupReportText(record, Readings(c.version, c.motorCounts, c.elecCounts), MarchFifth2021());
    for (const std::string& line : c.lines) {
      EXPECT_EQ(Line(text, line.substr(0, line.find(':'))), line);
    }
  }
}

TEST(SetupReportText, SeatingLinesOnlyFrom310To1500) {
  for (int version : {0x300, 0x309, 0x30A, 0xF00, 0xF01}) {
    SCOPED_TRACE(version);
    const std::string text =
        SetupReportText(SetupParameters(), Readings(version, 512, 190), MarchFifth2021());
    const bool seating = version >= 0x30A && version <= 0xF00;
    EXPECT_EQ(text.find("\tMaximum Seating Force :") != std::string::npos, seating);
    EXPECT_EQ(text.find("\tDemand Loss Velocity :") != std::string::npos, seating);
    // Without them the real-time block follows the hold force at once.
    EXPECT_EQ(text.find("\tMaximum Hold Force :\t\t250\n\n\n") != std::string::npos, !seating);
  }
}

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

TEST_F(PrintSetupReportTest, PrintsTheLiveReadings) {
  actuator.State().status.motorTemperature = {512, 1, 1023};
  actuator.State().status.electronicsTemperature = 190;

  EXPECT_TRUE(PrintSetupReport(session));

  ASSERT_EQ(ui.events.size(), 1u);
  const std::string& printed = ui.events.front();
  EXPECT_EQ(printed.rfind("Print|\n\n\n\tActuator Setup Parameters", 0), 0u);
  EXPECT_NE(printed.find("\tMotor Temp 1 :\t\t\t75 Deg C\n\tMotor Temp 2 :\t\t\t150 Deg C\n\tMotor "
                         "Temp 3 :\t\t\t0 Deg C\n\tElectronics Temp  :\t\t93 Deg C\n"),
            std::string::npos);
  EXPECT_NE(printed.find("\tFirmware Version :\t\t3.10\n"), std::string::npos);
  EXPECT_EQ(clock.LongSleeps(), std::vector<int>{100});
}

TEST_F(PrintSetupReportTest, ComFailuresPrintNothing) {
  struct Case {
    const char* name;
    std::function<void()> arrange;
    std::string message;
    std::vector<int> sleeps;
  };
  std::vector<int> statusSleeps;
  for (int attempt = 0; attempt < 5; ++attempt) {
    statusSleeps.insert(statusSleeps.end(), 30, 100);
    statusSleeps.push_back(250);
  }
  const std::vector<Case> cases = {
      {"no status frame", [&] { actuator.DropReplies(5); },
       "Error|Status Com Error|Read temperatures com error!", statusSleeps},
      {"damaged status frames",
       [&] {
         // Every reply damaged: a 33-byte frame that fails its CRC ends the attempt at once.
         actuator.CorruptNextCheck();
         clock.onSleep = [&](int ms) {
           if (ms == 250) {
             actuator.CorruptNextCheck();
           }
         };
       },
       "Error|Status Com Error|Read temperatures com error!",
       {100, 250, 100, 250, 100, 250, 100, 250, 100, 250}},
      {"no version reply",
       [&] { session.link.crcMode = 0; },
       "Error|Status Com Error|Read firmware version com error!",
       {100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    actuator = SimulatedActuator();
    c.arrange();

    EXPECT_FALSE(PrintSetupReport(session));
    clock.onSleep = nullptr;

    EXPECT_EQ(ui.events, std::vector<std::string>{c.message});
    EXPECT_EQ(clock.LongSleeps(), c.sleeps);
    ui.events.clear();
    clock.sleeps.clear();
    session.link.crcMode = 1;
  }
}

}  // namespace
}  // namespace velmar
