#pragma once

#include <array>
#include <cstdio>
#include <functional>
#include <string>

#include "faults/fault_config_record.h"

namespace velmar {

// A fault configuration file has seven parameter lines per type: 91.
inline constexpr int kFaultConfigParameters = kFaultTypeCount * kFaultRecordWords;

// The records a fault configuration file gives, one per type in list order.
struct FaultConfigFileLoad {
  std::array<FaultConfigRecord, kFaultTypeCount> records{};
  // Parameter lines recognised; a repeated key counts again, its last value wins.
  int parameterCount = 0;
  // The load-abort message of the first value outside its limits; empty when none was.
  std::string abortText;
};

// Reads the file line by line (126 characters at most per read, as the file's writer expects):
// lines not starting with a letter are skipped; a line's first token, upper-cased, is a key when
// it contains one of the 91 key names, tried type by type and field by field in record order.
// Stops at the first value outside its limits. `onLine` runs for every line read.
FaultConfigFileLoad LoadFaultConfigFile(std::FILE* file, const std::function<void()>& onLine);

}  // namespace velmar
