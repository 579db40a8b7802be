#include "faults/fault_log_report.h"

#include <cstdio>

#include "base/text_format.h"

namespace velmar {

namespace {

// The value line formats of both reports; the printed report puts a tab before each.
constexpr const char* kFieldFormats[kFaultLogFields] = {
    "Record Number :\t%s",     "Last Download Date :\t%s", "Fault Code :\t\t%s",
    "Fault Type :\t\t%s",      "Fault Level :\t\t%s",      "Firmware Version :\t%s",
    "Motor Temp 1 :\t\t%s",    "Motor Temp 2 :\t\t%s",     "Motor Temp 3 :\t\t%s",
    "Electronics Temp :\t%s",  "Motor Current :\t\t%s",    "Position Demand :\t%s",
    "Position Feedback :\t%s", "Velocity :\t\t%s",         "+14 Volts :\t\t%s",
    "-14 Volts :\t\t%s",       "+120 Volts :\t\t%s",       "Powered Hours :\t\t%s",
    "Run Hours :\t\t%s",
};
// The saved file lines up the record number with two tabs.
constexpr const char* kFileRecordNumberFormat = "Record Number :\t\t%s";

std::string DateLine(const std::tm& now) {
  return FormatText("Report Date :\t\t%02d-%02d-%d", now.tm_mon + 1, now.tm_mday,
                    now.tm_year + 1900);
}

std::string TimeLine(const std::tm& now) {
  return FormatText("Report Time :\t\t%02d:%02d:%02d", now.tm_hour, now.tm_min, now.tm_sec);
}

}  // namespace

std::string FaultLogPrintedReport(const FaultLogTexts& texts, const std::tm& now) {
  std::string report = "\n\n\n\tActuator Fault Log Report\n\n";
  report += "\t" + DateLine(now) + "\n";
  report += "\t" + TimeLine(now) + "\n";
  for (int field = 0; field < kFaultLogFields; ++field) {
    report += "\t" + FormatText(kFieldFormats[field], texts[field].c_str()) + "\n";
  }
  return report;
}

std::vector<std::string> FaultLogFileLines(const FaultLogTexts& texts, const std::tm& now,
                                           const ReportIdentification& ident) {
  std::vector<std::string> lines = {
      "Actuator Fault Log Report",
      "",
      DateLine(now),
      TimeLine(now),
      FormatText("Serial Number :\t\t%s", ident.serialNumber.c_str()),
      FormatText("Model Number :\t\t%s", ident.modelNumber.c_str()),
      FormatText("Part Number :\t\t%s", ident.partNumber.c_str()),
  };
  for (int field = 0; field < kFaultLogFields; ++field) {
    const char* format = field == 0 ? kFileRecordNumberFormat : kFieldFormats[field];
    lines.push_back(FormatText(format, texts[field].c_str()));
  }
  return lines;
}

}  // namespace velmar
