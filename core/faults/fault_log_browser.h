#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

#include "faults/fault_log_record.h"
#include "link/actuator_link.h"
#include "ports/clock.h"
#include "ports/ui.h"

namespace velmar {

// What the "Actuator Fault Log Report" window shows and does: one of the sixteen log records at
// a time, stepped through with Prev and Next, the whole log erased, the shown record printed or
// saved. The window shows `texts` after every action.
class FaultLogBrowser {
 public:
  // The window performs Prev this long after it opens, which shows record 1.
  static constexpr int kOpeningDelayMs = 100;
  static constexpr const char* kReportFileName = "FaultLogRecord.rpt";

  FaultLogBrowser(ActuatorLink& link, Ui& ui, Clock& clock) : link_(link), ui_(ui), clock_(clock) {}

  // Reads the slot at `slotAddress`: 0 with the texts filled, 1 when a read failed, 2 when the
  // slot holds no record. The texts change only on 0.
  int FetchLogRecord(uint16_t slotAddress);

  void Prev();
  void Next();
  // Asks first; on success every text is emptied. False when not asked to or on a failure.
  bool Erase();
  // Ignored while a record is being fetched.
  void Print();
  // Asks for the file, then writes the shown record to it.
  void SaveRecord();
  // Writes the shown record to `path`; false after the failure's message box.
  bool SaveRecordTo(const std::string& path);

  uint16_t address = FaultLogRecord::kFirstSlotAddress;
  bool busy = false;
  FaultLogTexts texts;
  // The stamp of the reports; tests fix it.
  std::function<std::tm()> localTime;

 private:
  // Reads the slot at `address` after a step from `previous`; `stepBackWhenEmpty` makes an empty
  // slot return the address one slot down.
  void Step(uint16_t previous, bool stepBackWhenEmpty);

  ActuatorLink& link_;
  Ui& ui_;
  Clock& clock_;
};

// The log erase of the window and of the main window's clear-faults command: asks "Erase all
// Fault Log Records?", then zeroes every slot in the "Program Status" window. True when all
// sixteen were erased; a failure part way says which records were erased.
bool EraseFaultLog(ActuatorLink& link, Ui& ui, Clock& clock);

}  // namespace velmar
