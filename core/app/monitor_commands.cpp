#include "app/monitor_commands.h"

namespace velmar {

bool ReadStatusMonitorLimits(Session& session) {
  if (session.link.RequestMaxForce() != LinkResult::kSuccess) {
    session.ui.ShowMessage(MessageKind::Warning, "Actuator failed to respond to max force request.",
                           "Program Error");
    return false;
  }
  if (session.link.RequestSpan() != LinkResult::kSuccess) {
    session.ui.ShowMessage(MessageKind::Warning, "Actuator failed to respond to span request.",
                           "Program Error");
    return false;
  }
  return true;
}

}  // namespace velmar
