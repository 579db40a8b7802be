#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "monitor/status_reading.h"

namespace velmar {

// `value` between `low` and `high` (all taken as unsigned 16-bit; below `low` counts as `low`)
// as a whole percentage, rounded up from a fraction of 0.495. Values above `high` give more
// than 100; an empty range gives 0.
int BarPercent(int value, int low, int high);

// The ten quantities of the status window, in the order the command line prints them.
enum class StatusQuantity {
  MotorCurrent,
  Position,
  Demand,
  MotorTemp1,
  MotorTemp2,
  MotorTemp3,
  ElecTemp,
  Plus14,
  Minus14,
  Plus120,
};
inline constexpr int kStatusQuantities = 10;

// The name each quantity has on the command line and in the plot legend.
const char* QuantityName(StatusQuantity quantity);

// One edit box and its progress bar. `percent` may exceed 100; the bar then shows full.
struct StatusField {
  std::string text;
  int percent = 0;
  int BarPosition() const { return percent > 100 ? 100 : percent; }
};

// A fault check box: its caption and the fault bits that check it. `column` says which firmware
// shows it: both, only before 3.00, or only from 3.00.
enum class FaultColumn { Both, Before300, From300 };
struct FaultBox {
  const char* caption;
  uint16_t bits;
  FaultColumn column;
  bool hidden;
};
inline constexpr int kFaultBoxes = 22;
// In bit order of their lowest bit.
extern const std::array<FaultBox, kFaultBoxes> kFaultBoxTable;

// Whether `box` is enabled under `firmwareVersion`.
bool FaultBoxEnabled(const FaultBox& box, int firmwareVersion);

// What the status window shows for one set of values.
struct StatusDisplay {
  std::array<StatusField, kStatusQuantities> fields;
  // 0 "Run Off", 1 "Run On", 2 "Reset", 3 no box checked.
  int mode = 3;
  std::array<bool, kFaultBoxes> faultChecked{};

  const StatusField& Field(StatusQuantity quantity) const {
    return fields[static_cast<int>(quantity)];
  }
  // "Reset", "Run On", "Run Off" or "none".
  std::string ModeName() const;
  // The checked boxes' captions without their blanks, joined by ", "; "none" when none is.
  std::string FaultList() const;
};

// The display of `values` for an actuator of `span` position counts and `firmwareVersion`
// (2.00 or later). A span of 0 shows the position and demand as 0 %.
StatusDisplay ShowStatus(const StatusReading& values, uint32_t span, int firmwareVersion);

}  // namespace velmar
