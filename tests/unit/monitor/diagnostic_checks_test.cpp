#include "monitor/diagnostic_checks.h"

#include <gtest/gtest.h>

#include <string>

#include "faults/firmware_temperatures.h"

namespace velmar {
namespace {

constexpr int k206 = 0x206, k310 = 0x30A;

TEST(DiagnosticChecks, FaultFileHeaderRulesByFirmware) {
  struct Case {
    const char* name;
    int firmware;
    uint16_t words[6];
    bool clear;
  };
  // Word 0 the year; bytes 2-9: month, (3), hour, day, minutes, seconds, (8), 1 or 2.
  const Case cases[] = {
      {"3.00 on: three zero words", k310, {0, 0, 0, 0xFFFF, 5, 5}, true},
      {"3.00 on: a fault logged", k310, {0, 0, 1, 0, 0, 0}, false},
      {"erased header", k206, {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 7, 7}, true},
      {"plausible date", k206, {2009, 0x000C, 0x1F17, 0x3B3B, 0x0200, 0}, true},
      {"year 1999", k206, {1999, 0x000C, 0x1F17, 0x3B3B, 0x0200, 0}, false},
      {"year 2100", k206, {2100, 0x000C, 0x1F17, 0x3B3B, 0x0200, 0}, false},
      {"month 0", k206, {2009, 0x0000, 0x1F17, 0x3B3B, 0x0200, 0}, false},
      {"month 13", k206, {2009, 0x000D, 0x1F17, 0x3B3B, 0x0200, 0}, false},
      {"hour 24", k206, {2009, 0x000C, 0x1F18, 0x3B3B, 0x0200, 0}, false},
      {"day 0", k206, {2009, 0x000C, 0x0017, 0x3B3B, 0x0200, 0}, false},
      {"day 32", k206, {2009, 0x000C, 0x2017, 0x3B3B, 0x0200, 0}, false},
      {"minutes 60", k206, {2009, 0x000C, 0x1F17, 0x3B3C, 0x0200, 0}, false},
      {"seconds 60", k206, {2009, 0x000C, 0x1F17, 0x3C3B, 0x0200, 0}, false},
      {"byte 9 is 1", k206, {2009, 0x0001, 0x0100, 0x0000, 0x0100, 0}, true},
      {"byte 9 is 3", k206, {2009, 0x000C, 0x1F17, 0x3B3B, 0x0300, 0}, false},
      {"word 5 not 0", k206, {2009, 0x000C, 0x1F17, 0x3B3B, 0x0200, 1}, false},
      {"three erased words are not enough", k206, {0xFFFF, 0xFFFF, 0xFFFF, 0, 0x0200, 0}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FaultFileHeaderClear(c.words, c.firmware), c.clear) << c.name;
  }
}

TEST(DiagnosticChecks, SupplyAndTemperatureLimits) {
  struct Case {
    int16_t plus14, minus14, plus120;
    bool inRange;
  };
  // 767 counts are 15 V; 818 counts are 160 V.
  const Case cases[] = {
      {716, 716, 613, true},  {608, 716, 613, false}, {609, 716, 613, true},
      {773, 716, 613, false}, {716, 710, 613, false}, {716, 711, 613, true},
      {716, 773, 613, false}, {716, 716, 368, false}, {716, 716, 369, true},
      {716, 716, 818, true},  {716, 716, 819, false}, {716, -716, 613, false},
  };
  for (const Case& c : cases) {
    StatusReading values;
    values.plus14Raw = c.plus14;
    values.minus14Raw = c.minus14;
    values.plus120Raw = c.plus120;
    EXPECT_EQ(SuppliesInRange(values), c.inRange)
        << c.plus14 << " " << c.minus14 << " " << c.plus120;
  }

  // The electronics sensor of 2.06 passes at exactly 220 degrees and fails at 221.
  StatusReading values;
  for (int degC : {220, 221}) {
    int16_t counts = -300;
    while (ElecDegC(counts, k206) != degC) {
      ASSERT_LT(++counts, 0);
    }
    values.elecTempRaw = static_cast<uint16_t>(counts);
    EXPECT_EQ(ElecTemperatureInRange(values, k206), degC == 220);
  }
  // Motor thermistors: 220 passes, anything hotter fails, on either curve.
  values = StatusReading{};
  EXPECT_TRUE(MotorTemperaturesInRange(values, k310));
  values.motorTemp3Raw = 1;  // 385 degrees on the mode-2 curve
  EXPECT_FALSE(MotorTemperaturesInRange(values, k310));
  values.motorTemp3Raw = 300;
  EXPECT_EQ(MotorTemperaturesInRange(values, 0x105), MotorDegC(300, 0x105) <= 220);
}

TEST(DiagnosticChecks, VerdictByFrameMode) {
  const DiagnosticResults allPassed = {1, 1, 1, 1, 1, 1, 1};
  const DiagnosticResults sumRun = {1, 1, -1, -1, -1, -1, 1};
  const DiagnosticResults voltageFailed = {1, 1, 1, 0, 1, 1, 1};
  const DiagnosticResults faultFileFailed = {1, 1, -1, -1, -1, -1, 0};
  EXPECT_TRUE(DiagnosticPassed(allPassed, true));
  EXPECT_FALSE(DiagnosticPassed(sumRun, true));
  EXPECT_TRUE(DiagnosticPassed(sumRun, false));
  EXPECT_FALSE(DiagnosticPassed(voltageFailed, true));
  EXPECT_TRUE(DiagnosticPassed(voltageFailed, false));
  EXPECT_FALSE(DiagnosticPassed(faultFileFailed, false));
  EXPECT_FALSE(DiagnosticPassed(kNotTested, false));
}

TEST(DiagnosticChecks, ReportTextByteForByte) {
  std::tm when{};
  when.tm_year = 2026 - 1900;
  when.tm_mon = 2;
  when.tm_mday = 7;
  when.tm_hour = 9;
  when.tm_min = 5;
  when.tm_sec = 3;
  const std::string head =
      "\n\n\n\tActuator Diagnostic Test Results\n\n"
      "\tDate :\t\t\t\t\t03-07-2026\n"
      "\tTime :\t\t\t\t\t09:05:03\n";
  EXPECT_EQ(DiagnosticReportText({1, 0, -1, -1, -1, -1, -1}, true, when),
            head +
                "\tCommunication Test :\t\t\tOK\n"
                "\tSetup Parameter Integrity Test :\t\tFAILED\n"
                "\tActive Fault Test :\t\t\tNOT TESTED\n"
                "\tVoltage Test :\t\t\t\tNOT TESTED\n"
                "\tMotor Temperature Test :\t\tNOT TESTED\n"
                "\tElectronics Temperature Test :\t\tNOT TESTED\n"
                "\tFault File Test :\t\t\t\tNOT TESTED\n\n\n");
  // Without status checks (sum frames) they read N/A.
  const std::string sum = DiagnosticReportText({1, 1, -1, -1, -1, -1, 1}, false, when);
  EXPECT_NE(sum.find("\tActive Fault Test :\t\t\tN/A\n"), std::string::npos);
  EXPECT_NE(sum.find("\tFault File Test :\t\t\t\tOK\n"), std::string::npos);
}

}  // namespace
}  // namespace velmar
