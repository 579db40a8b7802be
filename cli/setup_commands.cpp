#include <cstdio>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_context.h"
#include "json_writer.h"
#include "setup/setup_file.h"
#include "setup/setup_parameters.h"
#include "setup/setup_record_check.h"

namespace velmar {

namespace {

// The command's only argument, a setup file, loaded into `record`.
int LoadFileOperand(CliContext& context, CommandArgs& args, std::string& path,
                    SetupParameters& record) {
  if (int status = context.TakeLastArgument(args, "FILE", path); status != kExitOk) {
    return status;
  }
  return LoadSetupFileArgument(context, record, path);
}

int ShowSetupFile(CliContext& context, CommandArgs& args) {
  std::string path;
  SetupParameters record;
  if (int status = LoadFileOperand(context, args, path, record); status != kExitOk) {
    return status;
  }
  PrintSetupRecord(record, context.options.json);
  return kExitOk;
}

int CheckSetupFile(CliContext& context, CommandArgs& args) {
  std::string path;
  SetupParameters record;
  if (int status = LoadFileOperand(context, args, path, record); status != kExitOk) {
    return status;
  }
  const std::vector<SetupValueRefusal> refusals = CheckSetupRecord(record);
  if (context.options.json) {
    JsonWriter writer;
    writer.BeginObject().Field("file", path).Field("passed", refusals.empty());
    writer.Key("refusals").BeginArray();
    for (const SetupValueRefusal& refusal : refusals) {
      writer.BeginObject()
          .Field("key", refusal.key)
          .Field("value", refusal.value)
          .Field("range", refusal.range)
          .EndObject();
    }
    writer.EndArray().EndObject().Print();
    return refusals.empty() ? kExitOk : kExitFailure;
  }
  for (const SetupValueRefusal& refusal : refusals) {
    std::printf("%s\n", RefusalLine(refusal).c_str());
  }
  if (!refusals.empty()) {
    return kExitFailure;
  }
  std::printf("%s: every value passes the setup pages' checks.\n", path.c_str());
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

int LoadSetupFileArgument(CliContext& context, SetupParameters& record, const std::string& path) {
  return LoadSetupFileByName(record, path, context.ui) == FileResult::kOk ? kExitOk : kExitFailure;
}

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
      {"setup check", "setup check FILE",
       "Runs the setup pages' checks over setup file FILE and lists every value they refuse "
       "(exit 1 if any).",
       CheckSetupFile, true},
  };
}

}  // namespace velmar
