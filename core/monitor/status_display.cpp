#include "monitor/status_display.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "faults/firmware_temperatures.h"
#include "faults/temperature.h"
#include "link/firmware_versions.h"

namespace velmar {

namespace {

constexpr uint16_t kDemandInputZero = 13107;
constexpr double kDemandInputScale = 1.9073777370870527e-05;
constexpr float kCurrentAmperes = 25.0f;
constexpr float kCurrentPerCount = 0.0009775171f;
constexpr int kMaxTempBar = 150;
constexpr double kFullSupplyBarVolts = 18.0;
constexpr int kFull120Bar = 200;

// Whole number of `x`, rounded up from a fraction of 0.495. A damaged frame can put a value far
// beyond any display (a position of millions of spans); it stops at the ends of int.
int RoundUpAt495(double x) {
  const double whole = std::floor(x);
  const double rounded = whole + (x - whole >= 0.495 ? 1 : 0);
  if (!(rounded > std::numeric_limits<int>::min())) {
    return std::numeric_limits<int>::min();
  }
  return rounded < std::numeric_limits<int>::max() ? static_cast<int>(rounded)
                                                   : std::numeric_limits<int>::max();
}

int RoundHalfUp(double x) {
  return static_cast<int>(std::floor(x + 0.5));
}

template <typename... Args>
std::string Format(const char* format, Args... args) {
  char text[32];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

// A share of the span as a whole percentage; nothing to divide by shows 0.
int SpanPercent(int64_t counts, uint32_t span) {
  if (span == 0) {
    return 0;
  }
  return RoundUpAt495(static_cast<double>(std::llabs(counts)) / span * 100.0);
}

StatusField Percentage(int percent) {
  return {Format("%0.1f", static_cast<double>(percent)), BarPercent(percent, 0, 100)};
}

StatusField MotorCurrent(int16_t raw) {
  const float amperes = std::fabs(static_cast<float>(raw) * kCurrentAmperes * kCurrentPerCount);
  const int tenths = static_cast<int>(std::lround(amperes * 10.0f));
  return {Format("%02.1f", static_cast<double>(amperes)), BarPercent(tenths, 0, 250)};
}

int DemandPercent(const StatusReading& values, uint32_t span, int firmwareVersion) {
  if (firmwareVersion < kFirmware300) {
    return SpanPercent(values.demandRaw, span);
  }
  if (values.demandInputRaw < kDemandInputZero) {
    return 0;
  }
  return RoundUpAt495((values.demandInputRaw - kDemandInputZero) * kDemandInputScale * 100.0);
}

StatusField MotorTemp(uint16_t raw) {
  int degC = ThermistorCountsToDegC(static_cast<int16_t>(raw), 2);
  degC = degC < 0 ? 0 : degC;
  return {Format("%d", degC), degC < kMaxTempBar ? BarPercent(degC, 0, kMaxTempBar) : 100};
}

StatusField ElecTemp(uint16_t raw, int firmwareVersion) {
  int degC = ElecDegC(static_cast<int16_t>(raw), firmwareVersion);
  degC = degC < 0 ? 0 : degC;
  return {Format("%d", degC), BarPercent(degC, 0, kMaxTempBar)};
}

// The 14 V supplies are shown to a tenth of a volt.
StatusField Supply14(int16_t raw, const char* format) {
  const int tenths = RoundUpAt495(raw * 15.0 / 767.0 * 10.0);
  const double volts = tenths * 0.1;
  int percent = 100;
  if (volts < 0) {
    percent = 0;
  } else if (volts < kFullSupplyBarVolts) {
    percent = BarPercent(tenths, 0, 200);
  }
  return {Format(format, volts), percent};
}

StatusField Supply120(int16_t raw) {
  const int volts = RoundHalfUp(raw * 160.0 / 818.0);
  int percent = 100;
  if (volts < 0) {
    percent = 0;
  } else if (volts < kFull120Bar) {
    percent = BarPercent(volts, 0, kFull120Bar);
  }
  return {Format("%d", volts), percent};
}

}  // namespace

const std::array<FaultBox, kFaultBoxes> kFaultBoxTable = {{
    {"Driver Over Current", 1u << 0, FaultColumn::Both, false},
    {"Tracking Error", 1u << 1, FaultColumn::Both, false},
    {"Watchdog Expired", 1u << 2, FaultColumn::Both, false},
    {"RDC Failure", 1u << 3, FaultColumn::Both, false},
    {"Retract/Extend Cmd", 1u << 4, FaultColumn::Before300, true},
    {"Position Demand", 1u << 4, FaultColumn::From300, false},
    {"Unregulated Low", 1u << 5, FaultColumn::Before300, false},
    {"+5 Volts", 1u << 5, FaultColumn::From300, false},
    {"+14 Volts Low", 1u << 6, FaultColumn::Before300, false},
    {"+14 Volts", 1u << 6, FaultColumn::From300, false},
    {"+14 Volts High", 1u << 7, FaultColumn::Before300, false},
    {"-14 Volts Low", 1u << 8, FaultColumn::Before300, false},
    {"-14 Volts", 1u << 8, FaultColumn::From300, false},
    {"-14 Volts High", 1u << 9, FaultColumn::Before300, false},
    {"Input Voltage Low", 1u << 10, FaultColumn::Before300, false},
    {" Input Voltage", (1u << 10) | (1u << 11), FaultColumn::From300, false},
    {"Input Voltage High", 1u << 11, FaultColumn::Before300, false},
    {"DSP Failure", 1u << 12, FaultColumn::Before300, false},
    {"EEPROM Write", 1u << 12, FaultColumn::From300, false},
    {"Motor Over Temp", 1u << 13, FaultColumn::Both, false},
    {"Elec Over Temp", 1u << 14, FaultColumn::Both, false},
    {"EEPROM Checksum", 1u << 15, FaultColumn::From300, false},
}};

int BarPercent(int value, int low, int high) {
  const int v16 = value & 0xFFFF;
  const int low16 = low & 0xFFFF;
  const int high16 = high & 0xFFFF;
  if (high16 == low16) {
    return 0;
  }
  const int from = v16 < low16 ? low16 : v16;
  return RoundUpAt495(static_cast<double>(from - low16) / (high16 - low16) * 100.0);
}

const char* QuantityName(StatusQuantity quantity) {
  static constexpr const char* kNames[kStatusQuantities] = {"Motor Current (A)",
                                                            "Position (%)",
                                                            "Demand (%)",
                                                            "Motor Temp 1 (C)",
                                                            "Motor Temp 2 (C)",
                                                            "Motor Temp 3 (C)",
                                                            "Elec Temp (C)",
                                                            "+14 V",
                                                            "-14 V",
                                                            "+120 V"};
  return kNames[static_cast<int>(quantity)];
}

bool FaultBoxEnabled(const FaultBox& box, int firmwareVersion) {
  switch (box.column) {
    case FaultColumn::Both:
      return true;
    case FaultColumn::Before300:
      return firmwareVersion < kFirmware300;
    case FaultColumn::From300:
      return firmwareVersion >= kFirmware300;
  }
  return false;
}

std::string StatusDisplay::ModeName() const {
  static constexpr const char* kModes[] = {"Run Off", "Run On", "Reset", "none"};
  return kModes[mode & 3];
}

std::string StatusDisplay::FaultList() const {
  std::string list;
  for (int box = 0; box < kFaultBoxes; ++box) {
    if (!faultChecked[box]) {
      continue;
    }
    std::string caption = kFaultBoxTable[box].caption;
    caption.erase(0, caption.find_first_not_of(' '));
    list += (list.empty() ? "" : ", ") + caption;
  }
  return list.empty() ? "none" : list;
}

StatusDisplay ShowStatus(const StatusReading& values, uint32_t span, int firmwareVersion) {
  StatusDisplay display;
  auto set = [&display](StatusQuantity quantity, StatusField field) {
    display.fields[static_cast<int>(quantity)] = std::move(field);
  };
  set(StatusQuantity::MotorCurrent, MotorCurrent(values.motorCurrentRaw));
  set(StatusQuantity::Position, Percentage(SpanPercent(values.positionRaw, span)));
  set(StatusQuantity::Demand, Percentage(DemandPercent(values, span, firmwareVersion)));
  set(StatusQuantity::MotorTemp1, MotorTemp(values.motorTemp1Raw));
  set(StatusQuantity::MotorTemp2, MotorTemp(values.motorTemp2Raw));
  set(StatusQuantity::MotorTemp3, MotorTemp(values.motorTemp3Raw));
  set(StatusQuantity::ElecTemp, ElecTemp(values.elecTempRaw, firmwareVersion));
  set(StatusQuantity::Plus14, Supply14(values.plus14Raw, "%2.1f"));
  set(StatusQuantity::Minus14, Supply14(values.minus14Raw, "-%2.1f"));
  set(StatusQuantity::Plus120, Supply120(values.plus120Raw));
  display.mode = values.mode & 3;
  for (int box = 0; box < kFaultBoxes; ++box) {
    const FaultBox& fault = kFaultBoxTable[box];
    display.faultChecked[box] =
        FaultBoxEnabled(fault, firmwareVersion) && (values.faultBits & fault.bits) != 0;
  }
  return display;
}

}  // namespace velmar
