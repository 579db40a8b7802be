#include "app/fault_config_command.h"

namespace velmar {

FaultConfigEditor MakeFaultConfigEditor(Session& session) {
  return FaultConfigEditor(FaultConfigPorts{session.link, session.clock, session.ui},
                           !session.serviceMode);
}

}  // namespace velmar
