#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "faults/fault_log_record.h"

namespace velmar {

// The identification written at the head of a saved fault log record.
struct ReportIdentification {
  std::string serialNumber;
  std::string modelNumber;
  std::string partNumber;
};

// The printed fault log record: lines ended by "\n", tabs between labels and values.
std::string FaultLogPrintedReport(const FaultLogTexts& texts, const std::tm& now);

// The lines of the saved fault log record, without line ends.
std::vector<std::string> FaultLogFileLines(const FaultLogTexts& texts, const std::tm& now,
                                           const ReportIdentification& ident);

}  // namespace velmar
