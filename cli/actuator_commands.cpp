#include <cstdio>

#include "app/hour_meters.h"
#include "cli_command.h"
#include "cli_context.h"

namespace velmar {

namespace {

// Checks the arguments, connects, then runs `show`.
int ConnectAndRun(CliContext& context, CommandArgs& args, void (*show)(Session&)) {
  if (int status = context.CheckAllTaken(args); status != kExitOk) {
    return status;
  }
  if (int status = context.ConnectActuator(); status != kExitOk) {
    return status;
  }
  show(context.session);
  return kExitOk;
}

void ShowIdentification(Session& session) {
  if (session.link.ReadIdentification() != LinkResult::kSuccess) {
    session.ui.ShowMessage(MessageKind::Warning,
                           "Actuator failed to respond to part number request.", "Program Error");
    return;
  }
  std::printf("Serial Number: %s\nModel Number: %s\nPart Number: %s\n",
              session.link.IdentSerialNumber(), session.link.IdentModelNumber(),
              session.link.IdentPartNumber());
}

}  // namespace

std::vector<CliCommand> ActuatorCommands() {
  return {
      {"version", "version", "Shows the actuator's firmware version.",
       [](CliContext& c, CommandArgs& a) { return ConnectAndRun(c, a, ShowFirmwareVersion); }},
      {"identify", "identify", "Reads the actuator's serial, model and part numbers.",
       [](CliContext& c, CommandArgs& a) { return ConnectAndRun(c, a, ShowIdentification); }},
      {"hours run", "hours run", "Shows the actuator's run time hours.",
       [](CliContext& c, CommandArgs& a) { return ConnectAndRun(c, a, ShowRunHours); }},
      {"hours powered", "hours powered", "Shows the actuator's powered hours.",
       [](CliContext& c, CommandArgs& a) { return ConnectAndRun(c, a, ShowPoweredHours); }},
  };
}

}  // namespace velmar
