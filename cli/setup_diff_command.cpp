#include <cstdio>
#include <string>

#include "app/setup_transfer_commands.h"
#include "cli_command.h"
#include "cli_context.h"
#include "setup/setup_diff.h"

namespace velmar {

namespace {

constexpr const char* kUnit = "unit";

// A setup file, or the connected actuator's setup for "unit", into `record`.
bool LoadSide(CliContext& context, const std::string& source, SetupParameters& record) {
  if (source != kUnit) {
    return LoadSetupFileArgument(context, record, source) == kExitOk;
  }
  // Connected once, whether one side or both are the unit.
  const bool connected = context.session.serialPort.portNumber != 0;
  if ((!connected && context.ConnectActuator() != kExitOk) ||
      !UploadSetupCommand(context.session)) {
    return false;
  }
  record = context.session.setup;
  return true;
}

// As diff(1): 0 the same, 1 different, 2 when either side cannot be read.
int DiffSetups(CliContext& context, CommandArgs& args) {
  std::string a;
  std::string b;
  if (!args.TakePositional(a)) {
    return context.UsageError("A is missing");
  }
  if (int status = context.TakeLastArgument(args, "B", b); status != kExitOk) {
    return status;
  }
  SetupParameters recordA;
  SetupParameters recordB;
  if (!LoadSide(context, a, recordA) || !LoadSide(context, b, recordB)) {
    return kExitUsage;
  }
  const std::vector<SetupDifference> differences = DiffSetupRecords(recordA, recordB);
  for (const SetupDifference& difference : differences) {
    std::printf("%s: %s -> %s\n", difference.key.c_str(), difference.a.c_str(),
                difference.b.c_str());
  }
  return differences.empty() ? kExitOk : kExitFailure;
}

}  // namespace

std::vector<CliCommand> SetupDiffCommands() {
  return {
      {"setup diff", "setup diff A B",
       "Compares two setups, each a setup file or \"unit\" (uploads the connected actuator's):\n"
       "one \"KEY: A-value -> B-value\" line per differing key, numbers compared as numbers.\n"
       "Exit status 0 the same, 1 different, 2 when either cannot be read.",
       DiffSetups},
  };
}

}  // namespace velmar
