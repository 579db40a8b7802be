#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string>

#include "setup/setup_parameters.h"

namespace velmar {

// The actuator values the setup report ends with.
struct SetupReportReadings {
  // major * 256 + minor
  int versionWord = 0;
  std::array<int16_t, 3> motorTemperatureCounts{};
  int16_t electronicsTemperatureCounts = 0;
};

// The report of `record` with the readings, dated `now` (local time).
std::string SetupReportText(const SetupFields& record, const SetupReportReadings& readings,
                            const std::tm& now);

}  // namespace velmar
