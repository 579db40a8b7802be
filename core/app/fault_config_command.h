#pragma once

#include "app/session.h"
#include "faults/fault_config_editor.h"

namespace velmar {

// The fault configuration dialog's model over the session's link: view-only unless the session
// runs in its full-access service mode.
FaultConfigEditor MakeFaultConfigEditor(Session& session);

}  // namespace velmar
