#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "cli_command.h"
#include "cli_context.h"
#include "configdb/archive_format.h"
#include "configdb/config_database.h"
#include "configdb/config_db_location.h"
#include "configdb/configuration_list.h"
#include "configdb/part_catalogue.h"
#include "json_writer.h"
#include "setup/setup_parameters.h"

namespace velmar {

namespace {

namespace fs = std::filesystem;

constexpr const char* kProgramErrorCaption = "Program Error";

const char* ExtractResultText(ExtractResult result) {
  switch (result) {
    case ExtractResult::kNotFound:
      return "the entry is not in the database";
    case ExtractResult::kCannotOpenArchive:
      return "the database cannot be opened";
    case ExtractResult::kEmptyArchive:
      return "the database is empty";
    case ExtractResult::kCannotCreateOutput:
      return "the output file cannot be created";
    case ExtractResult::kCorruptData:
      return "the compressed data are corrupt";
    case ExtractResult::kReadWriteError:
      return "the database cannot be read or the output file written";
    case ExtractResult::kNoPassword:
      return "the entry is enciphered and no password was given";
    case ExtractResult::kNoMemory:
      return "the entry is too large";
    case ExtractResult::kDamaged:
    case ExtractResult::kDone:
      break;
  }
  return "";
}

// A configuration list over the database, on a catalogue and record of its own.
struct DatabaseView {
  explicit DatabaseView(CliContext& context)
      : list(context.ui, catalogue, setup, context.ConfigDatabasePath()) {}

  // kExitOk, or kExitFailure after the message the desktop tool shows at start-up.
  int LoadCatalogue(CliContext& context) {
    if (list.LoadCatalogue() != 0) {
      list.WarnIfDamaged();
      context.ui.ShowDetailedMessage(MessageKind::Warning, ConfigurationList::kConfigListErrorText,
                                     kProgramErrorCaption, context.ConfigDatabaseDetail());
      return kExitFailure;
    }
    return kExitOk;
  }

  PartCatalogue catalogue;
  SetupParameters setup;
  ConfigurationList list;
};

int ListConfigurations(CliContext& context, CommandArgs& args) {
  std::string firmwareText;
  const bool filtered = args.TakeOption("--firmware", firmwareText);
  if (int status = context.CheckAllTaken(args); status != kExitOk) {
    return status;
  }
  const std::optional<int> firmware = ParseFirmwareVersionText(firmwareText);
  if (filtered && !firmware) {
    return context.UsageError("--firmware takes a version M.m");
  }
  DatabaseView view(context);
  if (int status = view.LoadCatalogue(context); status != kExitOk) {
    return status;
  }
  if (view.list.FillList(firmware) != 0) {
    context.ui.ShowMessage(MessageKind::Warning, ConfigurationList::kConfigListErrorText,
                           kProgramErrorCaption);
    return kExitFailure;
  }
  if (context.options.json) {
    JsonWriter writer;
    writer.BeginObject().Key("configurations").BeginArray();
    for (const std::string& label : view.list.labels) {
      writer.String(label);
    }
    writer.EndArray().EndObject().Print();
    return kExitOk;
  }
  for (const std::string& label : view.list.labels) {
    std::printf("%s\n", label.c_str());
  }
  return kExitOk;
}

int ExtractEntry(CliContext& context, CommandArgs& args) {
  std::string name;
  std::string outputFolder;
  if (!args.TakeOption("--out", outputFolder)) {
    return context.UsageError("--out DIR is missing");
  }
  if (int status = context.TakeLastArgument(args, "NAME", name); status != kExitOk) {
    return status;
  }
  std::error_code error;
  fs::create_directories(outputFolder, error);
  if (error) {
    context.ui.ShowDetailedMessage(
        MessageKind::Error, "Cannot extract \"" + name + "\": the output folder cannot be created.",
        kProgramErrorCaption, "Folder: " + outputFolder + "\nReason: " + error.message());
    return kExitFailure;
  }
  ConfigDatabase database;
  const ExtractResult result = database.Extract(context.ConfigDatabasePath(), name,
                                                std::string(kConfigurationPassword), outputFolder);
  if (result == ExtractResult::kDamaged) {
    context.ui.ShowMessage(MessageKind::Error, DamagedEntryText(database.damagedEntry),
                           kProgramErrorCaption);
    return kExitFailure;
  }
  if (result != ExtractResult::kDone) {
    context.ui.ShowDetailedMessage(
        MessageKind::Error,
        "Cannot extract \"" + name + "\": " + ExtractResultText(result) + " (result " +
            std::to_string(static_cast<int>(result)) + ").",
        kProgramErrorCaption,
        result == ExtractResult::kCannotCreateOutput ? "Folder: " + outputFolder
                                                     : context.ConfigDatabaseDetail());
    return kExitFailure;
  }
  return kExitOk;
}

int ShowVersionFile(CliContext& context, CommandArgs& args) {
  if (int status = context.CheckAllTaken(args); status != kExitOk) {
    return status;
  }
  DatabaseView view(context);
  std::string versionText;
  std::string programPartNumber;
  if (view.list.ReadVersionFile(versionText, programPartNumber) != 0) {
    view.list.WarnIfDamaged();
    context.ui.ShowDetailedMessage(MessageKind::Warning, ConfigurationList::kVersionFileErrorText,
                                   kProgramErrorCaption, context.ConfigDatabaseDetail());
    return kExitFailure;
  }
  if (context.options.json) {
    JsonWriter()
        .BeginObject()
        .Field("version", versionText)
        .Field("program_part_number", programPartNumber)
        .EndObject()
        .Print();
    return kExitOk;
  }
  std::printf("%s\n%s\n", versionText.c_str(), programPartNumber.c_str());
  return kExitOk;
}

int ShowConfigurationSetup(CliContext& context, CommandArgs& args) {
  std::string customerPartNo;
  if (int status = context.TakeLastArgument(args, "CUSTOMERPARTNO", customerPartNo);
      status != kExitOk) {
    return status;
  }
  DatabaseView view(context);
  if (int status = view.LoadCatalogue(context); status != kExitOk) {
    return status;
  }
  if (view.list.LoadConfiguration(customerPartNo + ".cfg") != 0) {
    if (!view.list.WarnIfDamaged()) {
      context.ui.ShowMessage(MessageKind::Warning, ConfigurationList::kNoConfigurationText,
                             kProgramErrorCaption);
    }
    return kExitFailure;
  }
  view.list.UpdateOrvikPartNo();
  PrintSetupRecord(view.setup, context.options.json);
  return kExitOk;
}

}  // namespace

std::vector<CliCommand> DbCommands() {
  return {
      {"db list", "db list [--firmware M.m]",
       "Lists the configurations of the database, with --firmware those that version admits.",
       ListConfigurations, true},
      {"db extract", "db extract NAME --out DIR",
       "Extracts one entry of the database into folder DIR.", ExtractEntry},
      {"db version", "db version", "Prints the two lines of the database's version file.",
       ShowVersionFile, true},
      {"db setup", "db setup CUSTOMERPARTNO",
       "Loads a configuration's approved setup into a default record and prints it.",
       ShowConfigurationSetup, true},
  };
}

}  // namespace velmar
