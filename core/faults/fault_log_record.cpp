#include "faults/fault_log_record.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/text_format.h"
#include "faults/fault_readings.h"
#include "faults/temperature.h"

namespace velmar {

namespace {

constexpr int kFirstLevel2Code = 1000;
constexpr int kElectronicsMaxDegC = 150;

struct FaultType {
  int code;
  const char* text;
};

// Level-1 codes; the level-2 code of the same type is 1000 more.
constexpr FaultType kFaultTypes[] = {
    {110, "Driver Overcurrent"}, {120, "+14 Volts"},        {130, "EEPROM Write"},
    {140, "-14 Volts"},          {150, "+5 Volts"},         {160, "Motor Temp"},
    {170, "Electronics Temp"},   {180, "Watchdog Expired"}, {190, "+120 Volts"},
    {200, "RDC Fault"},          {210, "Tracking Error"},   {220, "EEPROM Checksum"},
    {230, "Position Demand"},
};

int16_t Signed(uint16_t word) {
  return static_cast<int16_t>(word);
}

int32_t Join(uint16_t low, uint16_t high) {
  return static_cast<int32_t>(low | (static_cast<uint32_t>(high) << 16));
}

}  // namespace

const std::array<const char*, kFaultLogFields> kFaultLogLabels = {
    "Record Number",
    "Last Download Date",
    "Fault Code",
    "Fault Type",
    "Fault Level",
    "Firmware Version",
    "Motor Temp 1 (deg C)",
    "Motor Temp 2 (deg C)",
    "Motor Temp 3 (deg C)",
    "Electronics Temp (deg C)",
    "Motor Current (Amps)",
    "Position Demand (counts)",
    "Position Feedback (counts)",
    "Velocity (RDC counts)",
    "+14 Volts",
    "-14 Volts",
    "+120 Volts",
    "Powered Hours",
    "Run Hours",
};

bool FaultLogRecord::IsPresent() const {
  const int month = words[1] & 0x1F;
  return words[0] >= 2000 && words[0] <= 2099 && month >= 1 && month <= 12;
}

const char* FaultTypeText(int faultCode) {
  const int level1Code = faultCode >= kFirstLevel2Code ? faultCode - kFirstLevel2Code : faultCode;
  for (const FaultType& type : kFaultTypes) {
    if (type.code == level1Code) {
      return type.text;
    }
  }
  return "Undefined Type";
}

const char* FaultLevelText(int faultCode) {
  return faultCode < kFirstLevel2Code ? "1" : "2";
}

FaultLogTexts FaultLogRecordTexts(const FaultLogRecord& record, int slot) {
  const auto& w = record.words;
  const int faultCode = w[21];
  const long electronics = std::lround(ElecCountsToDegC(Signed(w[9])));
  const int current = MotorCurrentAmps(Signed(w[10]));
  FaultLogTexts texts;
  texts[0] = FormatText("%d", slot + 1);
  texts[1] = FormatText("%02d-%02d-%02d ", w[1] & 0xFF, w[2] >> 8, w[0] - 2000);
  texts[2] = FormatText("%d", faultCode);
  texts[3] = FaultTypeText(faultCode);
  texts[4] = FaultLevelText(faultCode);
  texts[5] = FormatText("%d.%02d", w[4] >> 8, w[4] & 0xFF);
  for (int motor = 0; motor < 3; ++motor) {
    texts[6 + motor] = FormatText("%d", ThermistorCountsToDegC(Signed(w[6 + motor]), 2));
  }
  texts[9] =
      FormatText("%d", static_cast<int>(std::clamp<long>(electronics, 0, kElectronicsMaxDegC)));
  texts[10] = FormatText("%d", std::max(current, 0));
  texts[11] = FormatText("%d", w[11]);
  texts[12] = FormatText("%d", w[12]);
  texts[13] = FormatText("%d", w[13]);
  texts[14] = FormatText("%2.2f", Supply14Volts(Signed(w[14])));
  texts[15] = FormatText("%-2.2f", Supply14Volts(Signed(w[15])));
  texts[16] = FormatText("%2.2f", Supply120Volts(Signed(w[16])));
  texts[17] = FormatText("%d", Join(w[19], w[20]));
  texts[18] = FormatText("%d", Join(w[17], w[18]));
  return texts;
}

}  // namespace velmar
