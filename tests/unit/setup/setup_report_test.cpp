#include "setup/setup_report.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "unit/setup/record_fields.h"

namespace velmar {
namespace {

const std::tm kMarchFifth2021 = [] {
  std::tm time{};
  strptime("2021-03-05 14:07", "%Y-%m-%d %H:%M", &time);
  return time;
}();

SetupReportReadings Readings(int versionWord, int16_t motorCounts, int16_t elecCounts) {
  return {versionWord, {motorCounts, motorCounts, motorCounts}, elecCounts};
}

// The default record at firmware 3.10, motors at 75 Deg C (count 512) and electronics at count
// 190.
TEST(SetupReportText, DefaultRecordAt310) {
  const SetupParameters record;
  std::string expected =
      "\n\n\n\tActuator Setup Parameters\n\n\tReport Date/Time :\t03-05-21 14:07\n"
      "\tSerial Number :\t\t00000\n\tOrvik Part Number :\t0000000-000\n"
      "\tZOLT Model Number :\tLMX4100-262K\n\tZOLT Part Number :\t5000000-000\n"
      "\tActuator Type :\t\tStand Alone\n\tCommand Source :\tAnalog\n\tHome :\t\t\tRetract\n"
      "\tSpan :\t\t\t5.9\n\tStop Position :\t\t0.1\n";
  for (int n = 0; n < 17; ++n) {
    expected += "\tInterpolation Table " + std::to_string(n) + "\t(" + std::to_string(n + 4) +
                "mA)\t: " + record.STROKETBL[n] + " inches\n";
  }
  expected +=
      "\tPosition Loop Constant :\t20\n\tCurrent Loop P Constant :\t2.0\n"
      "\tCurrent Loop I Constant :\t400\n\tCurrent Loop D Constant :\t0\n"
      "\tVelocity Loop P Constant :\t40\n\tVelocity Loop I Constant :\t10000\n"
      "\tVelocity Loop D Constant :\t0\n\tMaximum Velocity :\t\t6\n\tMaximum Force :\t\t1000\n"
      "\tMaximum Home Velocity :\t0.5\n\tMaximum Home Force :\t500\n"
      "\tMaximum Hold Force :\t\t250\n\tMaximum Seating Force :\t1000\n"
      "\tSeating Force Duration :\t\t1000\n\tRun Loss Velocity :\t\t2.0\n"
      "\tDemand Loss Velocity :\t\t2.0\n\n\n\tActuator Real Time Information\n\n"
      "\tFirmware Version :\t\t3.10\n\tMotor Temp 1 :\t\t\t75 Deg C\n"
      "\tMotor Temp 2 :\t\t\t75 Deg C\n\tMotor Temp 3 :\t\t\t75 Deg C\n"
      "\tElectronics Temp  :\t\t93 Deg C\n";
  EXPECT_EQ(SetupReportText(record, Readings(0x30A, 512, 190), kMarchFifth2021), expected);
}

// Each row looks for a piece of the report (or its absence).
TEST(SetupReportText, CodedFieldsTemperaturesAndSeatingLines) {
  const std::string seating = "\tMaximum Seating Force :";
  const struct {
    const char* edit;
    int version;
    int16_t motorCounts, elecCounts;
    std::string line;
    bool present = true;
  } cases[] = {
      {"ACTTYPE=17", 0x30A, 512, 190, "\tActuator Type :\t\tStand Alone\n"},  // modulo 16
      {"POSCMDSRC=20", 0x30A, 512, 190, "\tCommand Source :\tRS-485\n"},
      {"POSCMDSRC=3", 0x30A, 512, 190, "\tCommand Source :\tUNDEFINED\n"},
      {"HOMEPOS=3", 0x30A, 512, 190, "\tHome :\t\t\tUNDEFINED\n"},  // not reduced
      {"", 0x30A, 1, 190, "\tMotor Temp 1 :\t\t\t150 Deg C\n"},
      {"", 0x30A, 1023, 190, "\tMotor Temp 3 :\t\t\t0 Deg C\n"},
      // Before 2.00 the motors and electronics read on the 11-bit curve.
      {"", 0x101, 1023, 1023, "\tMotor Temp 2 :\t\t\t75 Deg C\n"},
      {"", 0x101, 1023, 1023, "\tElectronics Temp  :\t\t75 Deg C\n"},
      // The electronics thermistor is not limited; 2.04 and after 2.05 read a sensor.
      {"", 0x205, 512, 1023, "\tElectronics Temp  :\t\t-39 Deg C\n"},
      {"", 0x203, 512, 512, "\tElectronics Temp  :\t\t75 Deg C\n"},
      {"", 0x204, 512, 300, "\tElectronics Temp  :\t\t57 Deg C\n"},
      // The seating lines exist from 3.10 to 15.00; without them the real-time block follows the
      // hold force at once.
      {"", 0x309, 512, 190, "\tMaximum Hold Force :\t\t250\n\n\n"},
      {"", 0xF00, 512, 190, seating + "\t1000\n"},
      {"", 0xF01, 512, 190, seating, false},
  };
  for (const auto& c : cases) {
    const std::string text = SetupReportText(
        test::Record(c.edit), Readings(c.version, c.motorCounts, c.elecCounts), kMarchFifth2021);
    EXPECT_EQ(text.find(c.line) != std::string::npos, c.present) << c.line;
  }
}

}  // namespace
}  // namespace velmar
