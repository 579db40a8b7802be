#pragma once

#include <array>
#include <string>
#include <string_view>

#include "setup/setup_parameters.h"

namespace velmar {

// The values the "Actuator Setup" pages show and edit: a copy of the setup record taken before
// the sheet opens and copied back only when it ends with OK, so Cancel leaves the record alone.
// The text values bear the names of the record fields they come from.
struct SetupPageValues {
  // The record's default texts; both mode flags set.
  SetupPageValues();

  // Copy in from the record. The serial number is zero-filled to at least 5 characters; the
  // alternate customer part numbers are blank (the main window holds none).
  void FillPages(const SetupFields& record);
  // Copy back: every text into its record field (cut to the field's width), the three codes as
  // "%d". The customer part number goes back as it came in.
  void ApplyPages(SetupFields& record) const;

  std::string SERIALNO;
  std::string MODELNO;
  // Maker part number and its two halves, split at blanks and hyphens.
  std::string PARTNO;
  std::string partNoFirst;
  std::string partNoSecond;
  // Customer part number and its halves; the pages show but never change it.
  std::string OrvikPartNo;
  std::string orvikPartNoFirst;
  std::string orvikPartNoSecond;
  std::array<std::string, 2> alternatePartNo;
  std::array<std::string, 2> alternatePartNoFirst;
  std::array<std::string, 2> alternatePartNoSecond;

  // 1: the pages only show the values. Cleared by nothing in the program; the editing pages
  // behind 0 stay complete for service use.
  bool databaseMode = true;
  // Keeps the loop tuning read-only in database mode; cleared when an editing sheet shows it.
  bool loopTuningLocked = true;

  // ACTTYPE: low bits the linkage, bits 8-15 a value edited in the hidden field.
  int actuatorType = 0;
  // POSCMDSRC: low nibble the source, bits 4-7 the actuator's baud rate.
  int commandSource = 0;
  // HOMEPOS: 1 Extend, 2 Retract.
  int homePosition = 0;

  std::string SPAN;
  std::string STOPPOS;
  // The span text when the Position Definition page was last shown; a change recomputes the
  // interpolation table.
  std::string previousSpan;
  std::array<std::string, 17> STROKETBL;

  std::string POSLOOPTUNECONST;
  std::string CURLOOPPCONST;
  std::string CURLOOPICONST;
  std::string CURLOOPDCONST;
  std::string VELLOOPPCONST;
  std::string VELLOOPICONST;
  std::string VELLOOPDCONST;
  std::string MAXVEL;
  std::string MAXFORCE;
  std::string MAXHOMEVEL;
  std::string MAXHOMEFORCE;
  std::string HOLDCURFORCE;
  std::string SEATINGFORCE;
  std::string SEATFORCETIME;
  std::string RUNLOSSVEL;
  std::string DMDLOSSVEL;
};

// `serial` left-padded with "0" to at least 5 characters.
std::string ZeroFillSerialNumber(std::string_view serial);

}  // namespace velmar
