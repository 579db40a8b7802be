#pragma once

#include <string>

#include "simulated_actuator.h"

namespace velmar {

// Status values set by name, as "NAME=VALUE" (decimal, or hexadecimal after "0x"; the signed
// counts may be negative): motor-temp1, motor-temp2, motor-temp3, elec-temp, motor-current,
// demand, position, flags, plus14, minus14, plus120, fault-bits, travel. False with `error`
// naming what is wrong.
bool SetStatusValue(const std::string& assignment, StatusValues& status, std::string& error);

// A values file: one assignment per line; blank lines and lines starting with '#' are skipped.
// Nothing changes unless the whole file is good.
bool LoadStatusFile(const std::string& path, StatusValues& status, std::string& error);

// "short", "long", "bad-check" or "wrong-code", optionally ":N" for the next N status replies
// only (every one without it).
bool ParseStatusFault(const std::string& text, StatusFault& fault, int& count);

}  // namespace velmar
