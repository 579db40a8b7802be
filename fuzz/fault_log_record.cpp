// A fault log slot read from EEPROM, shown, printed and saved.
#include <fuzzer/FuzzedDataProvider.h>

#include <ctime>

#include "faults/fault_log_record.h"
#include "faults/fault_log_report.h"

using namespace velmar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const int slot = input.ConsumeIntegralInRange(0, FaultLogRecord::kSlots - 1);
  FaultLogRecord record;
  for (uint16_t& word : record.words) {
    word = input.ConsumeIntegral<uint16_t>();
  }
  if (!record.IsPresent()) {
    return 0;
  }
  const FaultLogTexts texts = FaultLogRecordTexts(record, slot);
  const std::tm now{};
  FaultLogPrintedReport(texts, now);
  FaultLogFileLines(texts, now, {"12345", "LMX4100-262K", "5000000-000"});
  return 0;
}
