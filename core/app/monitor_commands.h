#pragma once

#include "app/session.h"

namespace velmar {

// The status monitor's opening after the checks of its dispatch row: reads the maximum force and
// the span, each failure in its warning box. True when the monitor may open with the link's span.
bool ReadStatusMonitorLimits(Session& session);

}  // namespace velmar
