#include "setup/setup_report.h"

#include <cstdarg>
#include <cstdio>

#include "faults/firmware_temperatures.h"
#include "link/firmware_versions.h"

namespace velmar {

namespace {

constexpr int kMaxMotorDegC = 150;
constexpr int kLineSize = 160;
constexpr int kStrokePoints = 17;
constexpr int kFirstStrokeMa = 4;

// Appends one printf-formatted line; every value is a field of at most 23 characters.
__attribute__((format(printf, 2, 3))) void Append(std::string& text, const char* format, ...) {
  char line[kLineSize];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  text += line;
}

// The report's motor temperatures stop at the top of the bar scale.
int ReportMotorDegC(int16_t counts, int versionWord) {
  const int degC = MotorDegC(counts, versionWord);
  if (degC < 0) {
    return 0;
  }
  return degC >= kMaxMotorDegC ? kMaxMotorDegC : degC;
}

}  // namespace

std::string SetupReportText(const SetupFields& record, const SetupReportReadings& readings,
                            const std::tm& now) {
  std::string text = "\n\n\n\tActuator Setup Parameters\n\n";
  char stamp[40];
  std::snprintf(stamp, sizeof stamp, "%02d-%02d-%02d %02d:%02d", now.tm_mon + 1, now.tm_mday,
                now.tm_year + 1900 - 2000, now.tm_hour, now.tm_min);
  Append(text, "\tReport Date/Time :\t%s\n", stamp);
  Append(text, "\tSerial Number :\t\t%s\n", record.SERIALNO);
  Append(text, "\tOrvik Part Number :\t%s\n", record.OrvikPartNo);
  Append(text, "\tZOLT Model Number :\t%s\n", record.MODELNO);
  Append(text, "\tZOLT Part Number :\t%s\n", record.PARTNO);
  Append(text, "\tActuator Type :\t\t%s\n", ActuatorTypeText(ParseLeadingInt(record.ACTTYPE)));
  Append(text, "\tCommand Source :\t%s\n",
         PositionCommandSourceText(ParseLeadingInt(record.POSCMDSRC) % 16));
  Append(text, "\tHome :\t\t\t%s\n", HomePositionText(ParseLeadingInt(record.HOMEPOS)));
  Append(text, "\tSpan :\t\t\t%s\n", record.SPAN);
  Append(text, "\tStop Position :\t\t%s\n", record.STOPPOS);
  for (int point = 0; point < kStrokePoints; ++point) {
    Append(text, "\tInterpolation Table %d\t(%dmA)\t: %s inches\n", point, point + kFirstStrokeMa,
           record.STROKETBL[point]);
  }
  Append(text, "\tPosition Loop Constant :\t%s\n", record.POSLOOPTUNECONST);
  Append(text, "\tCurrent Loop P Constant :\t%s\n", record.CURLOOPPCONST);
  Append(text, "\tCurrent Loop I Constant :\t%s\n", record.CURLOOPICONST);
  Append(text, "\tCurrent Loop D Constant :\t%s\n", record.CURLOOPDCONST);
  Append(text, "\tVelocity Loop P Constant :\t%s\n", record.VELLOOPPCONST);
  Append(text, "\tVelocity Loop I Constant :\t%s\n", record.VELLOOPICONST);
  Append(text, "\tVelocity Loop D Constant :\t%s\n", record.VELLOOPDCONST);
  Append(text, "\tMaximum Velocity :\t\t%s\n", record.MAXVEL);
  Append(text, "\tMaximum Force :\t\t%s\n", record.MAXFORCE);
  Append(text, "\tMaximum Home Velocity :\t%s\n", record.MAXHOMEVEL);
  Append(text, "\tMaximum Home Force :\t%s\n", record.MAXHOMEFORCE);
  Append(text, "\tMaximum Hold Force :\t\t%s\n", record.HOLDCURFORCE);

  const int version = readings.versionWord;
  if (version >= kFirmware310 && version <= kFirmware1500) {
    Append(text, "\tMaximum Seating Force :\t%s\n", record.SEATINGFORCE);
    Append(text, "\tSeating Force Duration :\t\t%s\n", record.SEATFORCETIME);
    Append(text, "\tRun Loss Velocity :\t\t%s\n", record.RUNLOSSVEL);
    Append(text, "\tDemand Loss Velocity :\t\t%s\n", record.DMDLOSSVEL);
  }
  text += "\n\n\tActuator Real Time Information\n";
  Append(text, "\n\tFirmware Version :\t\t%d.%02d\n", version >> 8, version & 0xFF);
  for (int motor = 0; motor < 3; ++motor) {
    Append(text, "\tMotor Temp %d :\t\t\t%d Deg C\n", motor + 1,
           ReportMotorDegC(readings.motorTemperatureCounts[motor], version));
  }
  Append(text, "\tElectronics Temp  :\t\t%d Deg C\n",
         ElecDegC(readings.electronicsTemperatureCounts, version));
  return text;
}

}  // namespace velmar
