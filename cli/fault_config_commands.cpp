#include <cstdio>
#include <string>
#include <vector>

#include "app/fault_config_command.h"
#include "cli_command.h"
#include "cli_context.h"
#include "json_writer.h"

namespace velmar {

namespace {

// The fields `set` takes, in record order.
constexpr const char* kFieldNames[kFaultValueFields] = {"F1_HIGH", "F1_LOW",     "F2_HIGH",
                                                        "F2_LOW",  "F1_PERSIST", "F2_PERSIST"};

struct FlagName {
  const char* name;
  OptionBox box;
};

constexpr FlagName kFlagNames[] = {
    {"F1_ENABLE", kF1FaultEnable},      {"F2_ENABLE", kF2FaultEnable},
    {"F1_OUTPUT", kF1OutputEnable},     {"F2_OUTPUT", kF2OutputEnable},
    {"F2_SHUTDOWN", kF2ShutdownEnable}, {"F1_AUTO_RESET", kF1AutoReset},
    {"F1_HIGH_ALARM", kF1HighAlarm},    {"F2_HIGH_ALARM", kF2HighAlarm},
    {"F1_LOW_ALARM", kF1LowAlarm},      {"F2_LOW_ALARM", kF2LowAlarm},
};

std::string Upper(std::string text) {
  for (char& c : text) {
    c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return text;
}

// TYPE: a key prefix in any case (the list index in `type`), or a record address (`type` -1).
bool ParseType(const std::string& text, int& type) {
  for (type = 0; type < kFaultTypeCount; ++type) {
    if (Upper(text) == kFaultTypes[type].keyPrefix) {
      return true;
    }
  }
  type = -1;
  return !text.empty() && text[0] >= '0' && text[0] <= '9';
}

// Reads the record TYPE names into the editor as the dialog's Read does.
bool ReadType(FaultConfigEditor& editor, const std::string& text, int type) {
  if (type >= 0) {
    return editor.CloseTypeList(type);
  }
  editor.addressText = text;
  return editor.Read();
}

void PrintRecord(const FaultConfigEditor& editor) {
  const auto field = [&](int index) {
    return editor.edits[index].empty() ? std::string("-") : editor.edits[index];
  };
  std::printf(
      "%s @0x%04X: F1 high=%s low=%s persist=%s; F2 high=%s low=%s persist=%s; "
      "options=0x%04X\n",
      kFaultTypes[FaultTypeAt(editor.address)].listText, editor.address, field(kF1High).c_str(),
      field(kF1Low).c_str(), field(kPersist1).c_str(), field(kF2High).c_str(),
      field(kF2Low).c_str(), field(kPersist2).c_str(), editor.readBuffer[kCfgOptions]);
}

// One record of "faults config show --json"; a field the record leaves empty is "".
void AddRecord(JsonWriter& json, const FaultConfigEditor& editor) {
  json.BeginObject()
      .Field("type", kFaultTypes[FaultTypeAt(editor.address)].listText)
      .Field("address", static_cast<int64_t>(editor.address))
      .Field("f1_high", editor.edits[kF1High])
      .Field("f1_low", editor.edits[kF1Low])
      .Field("persist1", editor.edits[kPersist1])
      .Field("f2_high", editor.edits[kF2High])
      .Field("f2_low", editor.edits[kF2Low])
      .Field("persist2", editor.edits[kPersist2])
      .Field("options", static_cast<int64_t>(editor.readBuffer[kCfgOptions]))
      .EndObject();
}

// The writing commands refuse before anything is sent outside service mode, then connect.
int ConnectForWriting(CliContext& context) {
  if (!context.session.serviceMode) {
    context.ui.ShowMessage(MessageKind::Warning, "Feature not available.", kProgramStatusCaption);
    return kExitFailure;
  }
  return context.ConnectActuator();
}

int Show(CliContext& context, CommandArgs& args) {
  std::string text;
  int type = -1;
  const bool one = args.TakePositional(text);
  if (int status = context.CheckAllTaken(args); status != kExitOk) {
    return status;
  }
  if (one && !ParseType(text, type)) {
    return context.UsageError(
        "TYPE must be a key prefix such as OVRCUR or an address such as "
        "0x500, not '" +
        text + "'");
  }
  if (int status = context.ConnectActuator(); status != kExitOk) {
    return status;
  }
  FaultConfigEditor editor = MakeFaultConfigEditor(context.session);
  JsonWriter json;
  json.BeginObject().Key("records").BeginArray();
  const auto show = [&] {
    if (context.options.json) {
      AddRecord(json, editor);
    } else {
      PrintRecord(editor);
    }
  };
  const int count = one ? 1 : kFaultTypeCount;
  for (int index = 0; index < count; ++index) {
    const bool read = one ? ReadType(editor, text, type) : editor.CloseTypeList(index);
    if (!read) {
      return kExitFailure;
    }
    show();
  }
  if (context.options.json) {
    json.EndArray().EndObject().Print();
  }
  return kExitOk;
}

int Save(CliContext& context, CommandArgs& args) {
  std::string path;
  if (int status = context.TakeLastArgument(args, "FILE", path); status != kExitOk) {
    return status;
  }
  if (int status = context.ConnectActuator(); status != kExitOk) {
    return status;
  }
  FaultConfigPorts ports{context.session.link, context.session.clock, context.session.ui};
  FaultConfigEditor editor = MakeFaultConfigEditor(context.session);
  return FaultConfigResetCheck(ports) && editor.SaveToFile(path) ? kExitOk : kExitFailure;
}

int WriteFile(CliContext& context, CommandArgs& args) {
  std::string path;
  if (int status = context.TakeLastArgument(args, "FILE", path); status != kExitOk) {
    return status;
  }
  if (int status = ConnectForWriting(context); status != kExitOk) {
    return status;
  }
  FaultConfigEditor editor = MakeFaultConfigEditor(context.session);
  return editor.CanWrite() && editor.WriteFromFile(path) ? kExitOk : kExitFailure;
}

// One word of `set`: FIELD=text, +FLAG or -FLAG.
struct Change {
  int field = -1;  // -1: a flag
  std::string text;
  uint16_t box = 0;
  bool check = false;
};

bool ParseChange(const std::string& word, Change& change) {
  const size_t equals = word.find('=');
  if (equals != std::string::npos) {
    for (int field = 0; field < kFaultValueFields; ++field) {
      if (Upper(word.substr(0, equals)) == kFieldNames[field]) {
        change.field = field;
        change.text = word.substr(equals + 1);
        return true;
      }
    }
    return false;
  }
  if (word.empty() || (word[0] != '+' && word[0] != '-')) {
    return false;
  }
  for (const FlagName& flag : kFlagNames) {
    if (Upper(word.substr(1)) == flag.name) {
      change.box = flag.box;
      change.check = word[0] == '+';
      return true;
    }
  }
  return false;
}

int Set(CliContext& context, CommandArgs& args) {
  std::string typeText;
  int type = -1;
  if (!args.TakePositional(typeText) || !ParseType(typeText, type)) {
    return context.UsageError("TYPE must be a key prefix such as OVRCUR or a record address");
  }
  std::vector<Change> changes;
  for (std::string word; args.TakePositional(word);) {
    Change change;
    if (!ParseChange(word, change)) {
      return context.UsageError("'" + word + "' is neither FIELD=value nor +FLAG or -FLAG");
    }
    changes.push_back(change);
  }
  if (int status = context.CheckAllTaken(args); status != kExitOk) {
    return status;
  }
  if (int status = ConnectForWriting(context); status != kExitOk) {
    return status;
  }
  FaultConfigEditor editor = MakeFaultConfigEditor(context.session);
  if (!ReadType(editor, typeText, type)) {
    return kExitFailure;
  }
  // Only what the dialog would let the user change.
  for (const Change& change : changes) {
    const bool open =
        change.field >= 0 ? editor.editable[change.field] : (editor.enabledBoxes & change.box) != 0;
    if (!open) {
      return context.UsageError(
          std::string(change.field >= 0 ? kFieldNames[change.field] : "flag") +
          " cannot be changed for " + kFaultTypes[FaultTypeAt(editor.address)].listText);
    }
    if (change.field >= 0) {
      editor.edits[change.field] = change.text;
    } else {
      editor.checkedBoxes = static_cast<uint16_t>(change.check ? editor.checkedBoxes | change.box
                                                               : editor.checkedBoxes & ~change.box);
    }
  }
  return editor.Write() ? kExitOk : kExitFailure;
}

}  // namespace

std::vector<CliCommand> FaultConfigCommands() {
  return {
      {"faults config show", "faults config show [TYPE]",
       "Reads the fault configuration records (TYPE: a key prefix such as OVRCUR, or an address).",
       Show, true},
      {"faults config save", "faults config save FILE",
       "Saves all thirteen fault configuration records to FILE.", Save},
      {"faults config write", "faults config write FILE",
       "Writes the fault configuration records from FILE (needs --service).", WriteFile},
      {"faults config set",
       "faults config set TYPE [F1_HIGH=v] [F1_LOW=v] [F1_PERSIST=s] [F2_HIGH=v] [F2_LOW=v] "
       "[F2_PERSIST=s] [+FLAG|-FLAG ...]",
       "Changes one record as the fault configuration dialog writes it (needs --service). Flags: "
       "F1_ENABLE F2_ENABLE F1_OUTPUT F2_OUTPUT F2_SHUTDOWN F1_AUTO_RESET F1_HIGH_ALARM "
       "F2_HIGH_ALARM F1_LOW_ALARM F2_LOW_ALARM.",
       Set},
  };
}

}  // namespace velmar
