#pragma once

#include <string>
#include <vector>

namespace velmar {

class CliContext;
struct SetupParameters;

// Exit statuses of velmar-cli.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;  // the command ended with a warning or error box
constexpr int kExitUsage = 2;
constexpr int kExitPortFailure = 3;

// The words after the command name: options ("--name value") and positionals.
class CommandArgs {
 public:
  explicit CommandArgs(std::vector<std::string> words) : words_(std::move(words)) {}

  // False when the option is absent; `missingValue` is set when it is present without a value.
  bool TakeOption(const std::string& name, std::string& value);
  bool TakePositional(std::string& value);
  // True when the option without a value is present.
  bool TakeFlag(const std::string& name);
  // The first word nobody took, or empty when all were taken.
  std::string Leftover() const;
  bool MissingValue() const { return missingValue_; }

 private:
  std::vector<std::string> words_;
  std::vector<bool> taken_ = std::vector<bool>(words_.size(), false);
  bool missingValue_ = false;
};

// One command: its words ("hours run"), its synopsis for --help and what it does.
struct CliCommand {
  std::string name;
  std::string synopsis;
  std::string help;
  int (*run)(CliContext& context, CommandArgs& args);
  // Whether the command answers --json.
  bool json = false;
};

// The commands of each group; AllCommands lists every group in the order --help shows them.
std::vector<CliCommand> ActuatorCommands();
std::vector<CliCommand> ConvertCommands();
std::vector<CliCommand> SetupCommands();
std::vector<CliCommand> SetupImageCommands();
std::vector<CliCommand> DbCommands();
std::vector<CliCommand> SetupTransferCommands();
std::vector<CliCommand> SetupDiffCommands();
std::vector<CliCommand> PortsCommands();
std::vector<CliCommand> FaultLogCommands();
std::vector<CliCommand> MonitorCommands();
std::vector<CliCommand> FaultConfigCommands();
std::vector<CliCommand> AllCommands();

// Prints a setup record as "KEY = value" lines in file order, then OrvikPartNo; under --json
// as {"setup": {"KEY": "value", ..., "OrvikPartNo": "..."}}.
void PrintSetupRecord(const SetupParameters& record, bool json);

// Loads setup file `path` into `record`. kExitOk, or kExitFailure after the warning, with the
// reason on the next line when the file holds no setup key.
int LoadSetupFileArgument(CliContext& context, SetupParameters& record, const std::string& path);

}  // namespace velmar
