#include "monitor/diagnostic_checks.h"

#include <cstdio>

#include "faults/firmware_temperatures.h"
#include "link/firmware_versions.h"

namespace velmar {

namespace {

constexpr int kMaxDegC = 220;
constexpr uint16_t kErasedWord = 0xFFFF;

constexpr DiagnosticTexts kTexts[kDiagnosticChecks] = {
    {"Executing Communications Test...", "OK    ", "Communications Test passed.", "FAILED",
     "Communications Test failed!", nullptr, nullptr},
    {"Executing Setup Parameters Integrity Test...", "OK    ",
     "Setup Parameters Integrity Test passed.", "FAILED", "Setup Parameters Integrity Test failed!",
     nullptr, nullptr},
    {"Executing Active Fault Test...", "OK    ", "Active Fault Test passed.", "FAILED",
     "Active Fault Test failed!", "N/A    ", "Active Fault Test skipped."},
    {"Executing Voltage Test...", "OK    ", "Voltage Test passed.", "FAILED",
     "Voltage Test failed!", "N/A   ", "Voltage Test skipped."},
    {"Executing Motor Temperature Test...", "OK    ", "Motor Temperature Test passed.", "FAILED",
     "Motor Temperature Test failed!", "N/A   ", "Motor Temperature Test skipped."},
    {"Executing Electronics Temperature Test...", "OK    ", "Electronics Temperature Test passed.",
     "FAILED", "Electronics Temperature Test failed!", "N/A   ",
     "Electronics Temperature Test skipped."},
    {"Executing Fault File test...", "OK    ", "Fault File Test passed.", "FAILED",
     "Fault File Test failed!", nullptr, nullptr},
};

double Volts(int16_t raw, double fullScale, double fullCounts) {
  return raw * fullScale / fullCounts;
}

bool InRange(int value, int low, int high) {
  return value >= low && value <= high;
}

const char* ResultWord(int result) {
  if (result == 1) {
    return "OK\n";
  }
  return result == 0 ? "FAILED\n" : "NOT TESTED\n";
}

}  // namespace

const DiagnosticTexts& TextsOf(DiagnosticCheck check) {
  return kTexts[static_cast<int>(check)];
}

bool SuppliesInRange(const StatusReading& values) {
  const double plus14 = Volts(values.plus14Raw, 15.0, 767.0);
  const double minus14 = Volts(values.minus14Raw, 15.0, 767.0);
  const double plus120 = Volts(values.plus120Raw, 160.0, 818.0);
  return plus14 > 11.9 && plus14 < 15.1 && minus14 > 13.9 && minus14 < 15.1 && plus120 >= 72.0 &&
         plus120 <= 160.0;
}

bool MotorTemperaturesInRange(const StatusReading& values, int firmwareVersion) {
  for (uint16_t raw : {values.motorTemp1Raw, values.motorTemp2Raw, values.motorTemp3Raw}) {
    if (MotorDegC(static_cast<int16_t>(raw), firmwareVersion) > kMaxDegC) {
      return false;
    }
  }
  return true;
}

bool ElecTemperatureInRange(const StatusReading& values, int firmwareVersion) {
  return ElecDegC(static_cast<int16_t>(values.elecTempRaw), firmwareVersion) <= kMaxDegC;
}

bool FaultFileHeaderClear(const uint16_t (&words)[6], int firmwareVersion) {
  if (firmwareVersion >= kFirmware300) {
    return words[0] == 0 && words[1] == 0 && words[2] == 0;
  }
  if (words[0] == kErasedWord && words[1] == kErasedWord && words[2] == kErasedWord &&
      words[3] == kErasedWord) {
    return true;
  }
  // Bytes in reply order: word 1 is bytes 2 (low) and 3, and so on.
  auto byte = [&words](int index) { return (words[index / 2] >> (index % 2 * 8)) & 0xFF; };
  return InRange(words[0], 2000, 2099) && InRange(byte(2), 1, 12) && InRange(byte(5), 1, 31) &&
         byte(4) <= 23 && byte(6) <= 59 && byte(7) <= 59 && InRange(byte(9), 1, 2) && words[5] == 0;
}

bool DiagnosticPassed(const DiagnosticResults& results, bool crcMode) {
  if (crcMode) {
    for (int result : results) {
      if (result != 1) {
        return false;
      }
    }
    return true;
  }
  return results[static_cast<int>(DiagnosticCheck::Communications)] == 1 &&
         results[static_cast<int>(DiagnosticCheck::Integrity)] == 1 &&
         results[static_cast<int>(DiagnosticCheck::FaultFile)] == 1;
}

std::string DiagnosticReportText(const DiagnosticResults& results, bool crcMode,
                                 const std::tm& now) {
  static constexpr const char* kStatusLabels[] = {
      "\tActive Fault Test :\t\t\t", "\tVoltage Test :\t\t\t\t", "\tMotor Temperature Test :\t\t",
      "\tElectronics Temperature Test :\t\t"};
  std::string text = "\n\n\n\tActuator Diagnostic Test Results\n\n";
  char line[64];
  std::snprintf(line, sizeof line, "\tDate :\t\t\t\t\t%02d-%02d-%d\n", now.tm_mon + 1, now.tm_mday,
                now.tm_year + 1900);
  text += line;
  std::snprintf(line, sizeof line, "\tTime :\t\t\t\t\t%02d:%02d:%02d\n", now.tm_hour, now.tm_min,
                now.tm_sec);
  text += line;
  text += "\tCommunication Test :\t\t\t";
  text += ResultWord(results[static_cast<int>(DiagnosticCheck::Communications)]);
  text += "\tSetup Parameter Integrity Test :\t\t";
  text += ResultWord(results[static_cast<int>(DiagnosticCheck::Integrity)]);
  for (int label = 0; label < 4; ++label) {
    text += kStatusLabels[label];
    const int check = static_cast<int>(DiagnosticCheck::ActiveFault) + label;
    text += crcMode ? ResultWord(results[check]) : "N/A\n";
  }
  text += "\tFault File Test :\t\t\t\t";
  text += ResultWord(results[static_cast<int>(DiagnosticCheck::FaultFile)]);
  return text + "\n\n";
}

}  // namespace velmar
