#include "monitor/status_display.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmar {
namespace {

constexpr uint32_t kSpan = 1966079;
constexpr int k205 = 0x205, k206 = 0x206, k310 = 0x30A;

TEST(BarPercent, RoundsUpFrom0495AndReadsSixteenBits) {
  struct Case {
    int value, low, high, percent;
  };
  const Case cases[] = {
      {0, 0, 100, 0},
      {150, 0, 100, 150},  // above high: over 100
      {5, 10, 20, 0},
      {15, 10, 20, 50},  // below low counts as low
      {124, 0, 25000, 1},
      {123, 0, 25000, 0},        // 0.496 up, 0.492 down
      {65536 + 50, 0, 100, 50},  // 16-bit value
      {7, 0, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BarPercent(c.value, c.low, c.high), c.percent)
        << c.value << " in " << c.low << ".." << c.high;
  }
}

// One quantity's edit text and bar for a raw value: the display table's rules and edges.
TEST(StatusDisplay, EachQuantityFollowsItsRule) {
  struct Case {
    const char* name;
    StatusQuantity quantity;
    void (*set)(StatusReading&);
    uint32_t span;
    int firmware;
    std::string text;
    int bar;
  };
  using Q = StatusQuantity;
  const Case cases[] = {
      {"current", Q::MotorCurrent, [](StatusReading& v) { v.motorCurrentRaw = 512; }, kSpan, k310,
       "12.5", 50},
      {"negative current", Q::MotorCurrent, [](StatusReading& v) { v.motorCurrentRaw = -1023; },
       kSpan, k310, "25.0", 100},
      {"current past the scale", Q::MotorCurrent,
       [](StatusReading& v) { v.motorCurrentRaw = 2000; }, kSpan, k310, "48.9", 100},
      {"position 37.497 rounds up", Q::Position, [](StatusReading& v) { v.positionRaw = 737221; },
       kSpan, k310, "38.0", 38},
      {"position 37.490 rounds down", Q::Position, [](StatusReading& v) { v.positionRaw = 737083; },
       kSpan, k310, "37.0", 37},
      {"negative full position", Q::Position, [](StatusReading& v) { v.positionRaw = -1966079; },
       kSpan, k310, "100.0", 100},
      {"span 0", Q::Position, [](StatusReading& v) { v.positionRaw = 5000; }, 0, k310, "0.0", 0},
      {"position millions of spans out stops at the end of int", Q::Position,
       [](StatusReading& v) { v.positionRaw = 2000000000; }, 1, k310, "2147483647.0", 100},
      {"demand before 3.00 from the counts", Q::Demand,
       [](StatusReading& v) { v.demandRaw = -983040; }, kSpan, k205, "50.0", 50},
      {"demand before 3.00, span 0", Q::Demand, [](StatusReading& v) { v.demandRaw = 983040; }, 0,
       k205, "0.0", 0},
      {"demand input at its zero", Q::Demand, [](StatusReading& v) { v.demandInputRaw = 13107; },
       kSpan, k310, "0.0", 0},
      {"demand input below its zero", Q::Demand, [](StatusReading& v) { v.demandInputRaw = 100; },
       kSpan, k310, "0.0", 0},
      {"demand input full", Q::Demand, [](StatusReading& v) { v.demandInputRaw = 65535; }, kSpan,
       k310, "100.0", 100},
      {"hot motor fills its bar", Q::MotorTemp2, [](StatusReading& v) { v.motorTemp2Raw = 1; },
       kSpan, k310, "385", 100},
      {"cold motor shows 0", Q::MotorTemp3, [](StatusReading& v) { v.motorTemp3Raw = 1023; }, kSpan,
       k310, "0", 0},
      {"electronics sensor", Q::ElecTemp, [](StatusReading& v) { v.elecTempRaw = 190; }, kSpan,
       k206, "93", 62},
      {"electronics thermistor on 2.05", Q::ElecTemp, [](StatusReading& v) { v.elecTempRaw = 512; },
       kSpan, k205, "75", 50},
      {"+14 V at 17.9", Q::Plus14, [](StatusReading& v) { v.plus14Raw = 917; }, kSpan, k310, "17.9",
       90},
      {"+14 V full from 18.0", Q::Plus14, [](StatusReading& v) { v.plus14Raw = 919; }, kSpan, k310,
       "18.0", 100},
      {"+14 V negative", Q::Plus14, [](StatusReading& v) { v.plus14Raw = -100; }, kSpan, k310,
       "-2.0", 0},
      {"-14 V", Q::Minus14, [](StatusReading& v) { v.minus14Raw = 716; }, kSpan, k310, "-14.0", 70},
      {"+120 V full", Q::Plus120, [](StatusReading& v) { v.plus120Raw = 1023; }, kSpan, k310, "200",
       100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StatusReading values;
    c.set(values);
    const StatusField field = ShowStatus(values, c.span, c.firmware).Field(c.quantity);
    EXPECT_EQ(field.text, c.text);
    EXPECT_EQ(field.BarPosition(), c.bar);
  }
}

TEST(StatusDisplay, ElectronicsAt225DegreesGivesBarPercent150) {
  // The hottest count the sensor reads at 225 degrees.
  StatusReading values;
  int counts = -400;
  for (values.elecTempRaw = static_cast<uint16_t>(counts);
       ShowStatus(values, kSpan, k310).Field(StatusQuantity::ElecTemp).text != "225";
       values.elecTempRaw = static_cast<uint16_t>(++counts)) {
    ASSERT_LT(counts, 0);
  }
  const StatusField field = ShowStatus(values, kSpan, k310).Field(StatusQuantity::ElecTemp);
  EXPECT_EQ(field.percent, 150);
  EXPECT_EQ(field.BarPosition(), 100);
}

TEST(StatusDisplay, NoDataShowsZerosAndNoMode) {
  const StatusDisplay display = ShowStatus(StatusReading{}, kSpan, k310);
  std::vector<std::string> texts;
  for (const StatusField& field : display.fields) {
    texts.push_back(field.text);
    EXPECT_EQ(field.percent, 0);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"0.0", "0.0", "0.0", "0", "0", "0", "0", "0.0", "-0.0",
                                             "0"}));
  EXPECT_EQ(display.ModeName(), "none");
  EXPECT_EQ(display.FaultList(), "none");
}

TEST(StatusDisplay, ModeAndFaultBoxesByFirmwareColumn) {
  struct Case {
    int firmware;
    uint16_t faultBits;
    int mode;
    std::string faults;
    std::string modeName;
  };
  const Case cases[] = {
      {k205, 0x0C01, 0, "Driver Over Current, Input Voltage Low, Input Voltage High", "Run Off"},
      {k310, 0x0C01, 1, "Driver Over Current, Input Voltage", "Run On"},
      {k310, 0x0800, 2, "Input Voltage", "Reset"},
      {k310, 0x0280, 3, "none", "none"},  // bits 7 and 9 have no box from 3.00
      {k205, 0x8000, 2, "none", "Reset"},
      {k310, 0x8000, 2, "EEPROM Checksum", "Reset"},
      {k205, 0x1010, 2, "Retract/Extend Cmd, DSP Failure", "Reset"},
      {k310, 0x1070, 2, "Position Demand, +5 Volts, +14 Volts, EEPROM Write", "Reset"},
      {k205, 0x6000, 2, "Motor Over Temp, Elec Over Temp", "Reset"},
  };
  for (const Case& c : cases) {
    StatusReading values;
    values.faultBits = c.faultBits;
    values.mode = c.mode;
    const StatusDisplay display = ShowStatus(values, kSpan, c.firmware);
    EXPECT_EQ(display.FaultList(), c.faults) << c.firmware << " " << c.faultBits;
    EXPECT_EQ(display.ModeName(), c.modeName);
  }
}

}  // namespace
}  // namespace velmar
