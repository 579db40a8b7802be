#include "faults/fault_config_editor.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "faults/fault_config_units.h"

namespace velmar {

namespace {

constexpr const char* kFieldNames[] = {"High Limit", "Low Limit",    "High Limit",
                                       "Low Limit",  "Persist Time", "Persist Time"};
constexpr int kFaultOfField[] = {1, 1, 2, 2, 1, 2};

std::string AddressText(uint16_t address) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%04X", address);
  return text;
}

}  // namespace

bool ParseRecordAddress(const std::string& text, uint16_t& address) {
  const bool hex = text.find_first_of("xX") != std::string::npos;
  const long long value = std::strtoll(text.c_str(), nullptr, hex ? 16 : 10);
  address = static_cast<uint16_t>(value);
  return value >= 0 && value <= kHighestEepromAddress;
}

FaultConfigEditor::FaultConfigEditor(FaultConfigPorts ports, bool viewOnlyMode)
    : viewOnly(viewOnlyMode), ports_(ports) {
  ResetLabels();
}

void FaultConfigEditor::ResetLabels() {
  labels = {"High Limit", "Low Limit", "High Limit", "Low Limit"};
}

void FaultConfigEditor::MakeViewOnly() {
  editable.fill(false);
  enabledBoxes = 0;
}

bool FaultConfigEditor::CloseTypeList(int newSelection) {
  selection = newSelection;
  addressText = AddressText(newSelection < 0 ? 0 : kFaultTypes[newSelection].address);
  return Read();
}

bool FaultConfigEditor::Read() {
  if (!FaultConfigResetCheck(ports_)) {
    return false;
  }
  bool inRange = true;
  if (addressText.empty()) {
    address = kFirstFaultSlot;
    selection = 0;
  } else {
    inRange = ParseRecordAddress(addressText, address);
  }
  ResetLabels();
  edits.fill("");
  holdsRecord_ = false;
  if (!inRange) {
    ports_.ui.ShowMessage(MessageKind::Error, "EEPROM address must be 0000-1FFF.",
                          kProgramErrorCaption);
  }
  if (!inRange || ports_.link.ReadRecordSlot(address, readBuffer.data()) != LinkResult::kSuccess) {
    ports_.ui.ShowMessage(MessageKind::Error, "Read fault config data error.",
                          kProgramErrorCaption);
    addressText = AddressText(address);
    editable.fill(false);
    if (viewOnly) {
      MakeViewOnly();
    }
    return false;
  }
  addressText = AddressText(address);
  const int type = FaultTypeAt(address);
  if (type < 0) {
    ports_.ui.ShowMessage(MessageKind::Error, "Undefined Fault Configuration Record address.",
                          kProgramErrorCaption);
    return false;
  }
  holdsRecord_ = true;
  ShowRecord(type);
  if (viewOnly) {
    MakeViewOnly();
  }
  return true;
}

void FaultConfigEditor::ShowRecord(int type) {
  const FaultType& faultType = kFaultTypes[type];
  if (*faultType.unitLabel != '\0') {
    const std::string unit = faultType.unitLabel;
    labels = {"High Limit " + unit, "Low Limit  " + unit, "High Limit " + unit,
              "Low Limit  " + unit};
  }
  for (int field = 0; field < kFaultValueFields; ++field) {
    editable[field] = HasValueField(type, field);
    edits[field] = DialogFieldText(type, field, readBuffer[field]);
  }
  enabledBoxes = EnabledOptionBoxes(faultType.group);
  checkedBoxes = readBuffer[kCfgOptions] & kAllOptionBoxes;
}

bool FaultConfigEditor::Write() {
  Ui& ui = ports_.ui;
  if (!CanWrite()) {
    return false;
  }
  if (ui.AskYesNo("Fault configuration will be overwritten. Are you sure?",
                  "Verify Fault Configuration Write") != Answer::Yes) {
    ui.ShowMessage(MessageKind::Warning, "Fault configuration write aborted.",
                   kProgramStatusCaption);
    return false;
  }
  uint16_t target = 0;
  if (addressText.empty() || !holdsRecord_) {
    ui.ShowMessage(MessageKind::Error, "No fault configuration record selected.",
                   kProgramErrorCaption);
    return false;
  }
  if (!ParseRecordAddress(addressText, target)) {
    ui.ShowMessage(MessageKind::Error, "EEPROM address must be 0000-1FFF.", kProgramErrorCaption);
    return false;
  }
  // Only a type's own record, as last read, is ever written.
  const int type = FaultTypeAt(target);
  if (type < 0 || target != address) {
    ui.ShowMessage(MessageKind::Error, "Undefined Fault Configuration Record address.",
                   kProgramErrorCaption);
    return false;
  }
  FaultConfigRecord record;
  std::copy_n(readBuffer.begin(), kFaultRecordWords, record.words.begin());
  if (kFaultTypes[type].group != ValueGroup::kFlagsOnly && !ConvertEntries(type, record)) {
    Read();
    return false;
  }
  record.words[kCfgOptions] = BuildCfgOptions(kFaultTypes[type].group, checkedBoxes);
  return WriteChecked(record);
}

bool FaultConfigEditor::ConvertEntries(int type, FaultConfigRecord& record) {
  for (int field = 0; field < kFaultValueFields; ++field) {
    const FieldConversion converted = EntryToWord(type, field, edits[field]);
    if (converted.check != LimitCheck::kAccepted) {
      char text[128];
      std::snprintf(
          text, sizeof text, "Write aborted as Fault %d %s entered is %s allowed value.",
          kFaultOfField[field], kFieldNames[field],
          converted.check == LimitCheck::kAboveMaximum ? "above maximum" : "below minimum");
      ports_.ui.ShowMessage(MessageKind::Warning, text, kProgramStatusCaption);
      return false;
    }
    record.words[field] = converted.word;
  }
  return true;
}

// Every way out after the write-enable sends the write-disable.
bool FaultConfigEditor::WriteChecked(const FaultConfigRecord& record) {
  Ui& ui = ports_.ui;
  ActuatorLink& link = ports_.link;
  bool failed = true;
  uint16_t sum = 0;
  if (link.EnableWrites() != LinkResult::kSuccess) {
    ui.ShowMessage(MessageKind::Error, "Open Actuator config data error.", kProgramErrorCaption);
  } else if (WriteFaultRecord(ports_, address, record) != LinkResult::kSuccess) {
    ui.ShowMessage(MessageKind::Error, "Write fault config data error.", kProgramErrorCaption);
  } else if (!ComputeFaultConfigChecksum(ports_, sum)) {
    // The checksum's own window has said nothing; "Communication error." follows.
  } else if (WriteFaultChecksumRecord(link, sum) != LinkResult::kSuccess) {
    ui.ShowMessage(MessageKind::Error, "Fault configuration checksum write error.",
                   kProgramErrorCaption);
  } else {
    failed = false;
  }
  ports_.clock.SleepMs(100);
  if (link.DisableWrites() != LinkResult::kSuccess) {
    ui.ShowMessage(MessageKind::Error,
                   "Fault configuration data write close error. Please reset actuator to exit "
                   "setup state.",
                   kProgramErrorCaption);
    failed = true;
  }
  if (failed) {
    ui.ShowMessage(MessageKind::Error, "Communication error.", kProgramErrorCaption);
    return false;
  }
  ui.ShowMessage(MessageKind::Information, "Fault configuration data written successfully.",
                 kProgramStatusCaption);
  Read();
  return true;
}

}  // namespace velmar
