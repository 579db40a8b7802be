#include "cli_command.h"

namespace velmar {

std::vector<CliCommand> AllCommands() {
  std::vector<CliCommand> all;
  for (auto group : {ActuatorCommands, ConvertCommands, SetupCommands, SetupImageCommands,
                     DbCommands, SetupTransferCommands, SetupDiffCommands, FaultLogCommands,
                     MonitorCommands, FaultConfigCommands, PortsCommands}) {
    for (CliCommand& command : group()) {
      all.push_back(std::move(command));
    }
  }
  return all;
}

}  // namespace velmar
