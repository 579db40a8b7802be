#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string>

#include "app/session.h"
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

// The Print Setup Report command: reads the status frame and the firmware version, then prints
// the report of the session's setup record. False after the com error box, nothing printed.
bool PrintSetupReport(Session& session);

}  // namespace velmar
