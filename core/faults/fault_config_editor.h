#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "faults/fault_config_link.h"
#include "faults/fault_config_options.h"

namespace velmar {

// The state and operations of the "Actuator Fault Configuration" dialog: one record read from
// the actuator's EEPROM, shown in engineering units, edited and written back with its checksum;
// and the two file buttons. The dialog's widgets mirror the public fields.
class FaultConfigEditor {
 public:
  // The four limit labels: Fault 1 high, Fault 1 low, Fault 2 high, Fault 2 low.
  static constexpr int kLabelCount = 4;

  FaultConfigEditor(FaultConfigPorts ports, bool viewOnly);

  // The dialog's Read: fills the fields from the record at the address text (0x500 and the first
  // list entry when it is empty). True when a type's record was read and shown.
  bool Read();
  // The "Fault Type" list closing its drop-down: the selection's record (-1: none, address 0).
  bool CloseTypeList(int selection);
  // The dialog's Write of the fields into the record at the address. True when written.
  bool Write();

  // "Save Fault Configuration To File": the RESET check and the save file box, then SaveToFile.
  void SaveToFileButton();
  // Writes all thirteen records to a fault configuration file. True when the file is complete.
  bool SaveToFile(const std::string& path);
  // "Write Fault Configuration From File": CanWrite and the open file box, then
  // WriteFromFile.
  void WriteFromFileButton();
  // The view-only refusal and the RESET check that come before any write.
  bool CanWrite();
  // Loads the file, asks, writes the thirteen records and the checksum, then Reads. True when
  // the actuator was written.
  bool WriteFromFile(const std::string& path);

  const bool viewOnly;
  std::string addressText;
  uint16_t address = 0;
  int selection = -1;
  // Words 0..6 of the record, the spare word and the next slot's word 0, as last read.
  FaultSlotWords readBuffer{};
  std::array<std::string, kFaultValueFields> edits;
  std::array<bool, kFaultValueFields> editable{};
  std::array<std::string, kLabelCount> labels;
  uint16_t checkedBoxes = 0;
  uint16_t enabledBoxes = 0;

 private:
  void ResetLabels();
  void ShowRecord(int type);
  void MakeViewOnly();
  bool ParseAddress(uint16_t& parsed);
  bool WriteChecked(const FaultConfigRecord& record);
  bool ConvertEntries(int type, FaultConfigRecord& record);

  FaultConfigPorts ports_;
  // Whether `readBuffer` holds the record at `address`: a Write needs it.
  bool holdsRecord_ = false;
};

// The dialog's address text: hexadecimal when it holds an "x" ("0x" allowed), else decimal.
// False when no number leads it or it lies above 0x1FFF.
bool ParseRecordAddress(const std::string& text, uint16_t& address);

}  // namespace velmar
