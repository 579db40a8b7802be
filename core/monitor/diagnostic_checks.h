#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string>

#include "monitor/status_reading.h"

namespace velmar {

// The seven checks of the diagnostic test, in the order they run.
enum class DiagnosticCheck {
  Communications,
  Integrity,
  ActiveFault,
  Voltage,
  MotorTemperature,
  ElecTemperature,
  FaultFile,
};
inline constexpr int kDiagnosticChecks = 7;

// A check's result: 1 passed, 0 failed, -1 not run or skipped.
using DiagnosticResults = std::array<int, kDiagnosticChecks>;
inline constexpr DiagnosticResults kNotTested = {-1, -1, -1, -1, -1, -1, -1};

// What a check shows: its status line before it runs, then its edit text and status line for
// each outcome. A check that is never skipped has no skipped texts.
struct DiagnosticTexts {
  const char* running;
  const char* passedEdit;
  const char* passedStatus;
  const char* failedEdit;
  const char* failedStatus;
  const char* skippedEdit;
  const char* skippedStatus;
};
const DiagnosticTexts& TextsOf(DiagnosticCheck check);

// The supplies within their limits: +14 V above 11.9 and below 15.1, -14 V above 13.9 and
// below 15.1, +120 V from 72.0 to 160.0.
bool SuppliesInRange(const StatusReading& values);
// No motor temperature above 220 degrees C, and no electronics temperature above it.
bool MotorTemperaturesInRange(const StatusReading& values, int firmwareVersion);
bool ElecTemperatureInRange(const StatusReading& values, int firmwareVersion);

// Whether the header words of the fault file show no recorded fault. From firmware 3.00 the
// first three words are 0; before it the header is erased (words 0-3 all 0xFFFF) or holds a
// plausible date and time with word 5 at 0.
bool FaultFileHeaderClear(const uint16_t (&words)[6], int firmwareVersion);

// The test passed: in CRC mode every check passed, in sum mode the three that can run there.
bool DiagnosticPassed(const DiagnosticResults& results, bool crcMode);

// The printed results, stamped with `now`.
std::string DiagnosticReportText(const DiagnosticResults& results, bool crcMode,
                                 const std::tm& now);

}  // namespace velmar
