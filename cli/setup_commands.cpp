#include <cstdio>
#include <string>

#include "cli_command.h"
#include "cli_context.h"
#include "json_writer.h"
#include "setup/setup_file.h"
#include "setup/setup_parameters.h"

namespace velmar {

namespace {

int ShowSetupFile(CliContext& context, CommandArgs& args) {
  std::string path;
  if (int status = context.TakeLastArgument(args, "FILE", path); status != kExitOk) {
    return status;
  }
  SetupParameters record;
  if (LoadSetupFileByName(record, path, context.ui) != FileResult::kOk) {
    return kExitFailure;
  }
  PrintSetupRecord(record, context.options.json);
  return kExitOk;
}

int SaveDefaultSetupFile(CliContext& context, CommandArgs& args) {
  std::string path;
  if (int status = context.TakeLastArgument(args, "FILE", path); status != kExitOk) {
    return status;
  }
  SetupParameters record;
  return SaveSetupFile(record, path, context.ui, context.clock) == FileResult::kOk ? kExitOk
                                                                                   : kExitFailure;
}

}  // namespace

void PrintSetupRecord(const SetupParameters& record, bool json) {
  if (!json) {
    for (const SetupFieldInfo& info : kSetupFileFields) {
      std::printf("%s = %s\n", info.key, FieldText(record, info).data());
    }
    std::printf("OrvikPartNo = %s\n", record.OrvikPartNo);
    return;
  }
  JsonWriter writer;
  writer.BeginObject().Key("setup").BeginObject();
  for (const SetupFieldInfo& info : kSetupFileFields) {
    writer.Field(info.key, FieldText(record, info).data());
  }
  writer.Field("OrvikPartNo", record.OrvikPartNo).EndObject().EndObject().Print();
}

std::vector<CliCommand> SetupCommands() {
  return {
      {"setup show", "setup show FILE",
       "Loads a setup file into a default record and prints its fields.", ShowSetupFile, true},
      {"setup save-default", "setup save-default FILE",
       "Writes a setup file holding the default record.", SaveDefaultSetupFile},
  };
}

}  // namespace velmar
