#pragma once

#include <cstdint>
#include <string>

namespace velmar {

// Conversions between a record's count words and the engineering values the dialog shows and
// takes (`FaultConfigEditor`) and the fault configuration file keeps. The two sides round and
// scale differently in places, on purpose: files written by either must keep loading the same.

// x rounded to `decimals` places: floor of x·10ⁿ when its fraction is below one half, else ceil.
double RoundToDecimals(double x, int decimals);

// The text of a value field (kF1High..kPersist2) for the type's count word: as the dialog's edit
// shows it, empty where the dialog leaves the field blank; and as the file writes it ("0" for a
// field the type has no value in).
std::string DialogFieldText(int type, int field, uint16_t word);
std::string FileFieldText(int type, int field, uint16_t word);

enum class LimitCheck { kAccepted, kAboveMaximum, kBelowMinimum };

struct FieldConversion {
  LimitCheck check = LimitCheck::kAccepted;
  uint16_t word = 0;
};

// A typed entry or a file value (read as atof reads it) to its count word, checked against the
// field's limits (maximum first). Fields without a value convert to 0 without looking at the
// text; the file's kCfgOptions reads as atol and keeps the low 16 bits.
FieldConversion EntryToWord(int type, int field, const std::string& text);
FieldConversion FileValueToWord(int type, int field, const std::string& text);

// Whether the type has a value, and so a limit check, in the field (kF1High..kPersist2).
bool HasValueField(int type, int field);

}  // namespace velmar
