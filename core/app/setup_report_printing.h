#pragma once

#include "app/session.h"

namespace velmar {

// The Print Setup Report command: reads the status frame and the firmware version, then prints
// the report of the session's setup record. False after the com error box, nothing printed, or
// after the printer's failure box.
bool PrintSetupReport(Session& session);

}  // namespace velmar
