#pragma once

#include <cstdint>
#include <string>

#include "setup/setup_parameters.h"

namespace velmar {

// Turns the record's page image, uploaded from an actuator with `firmwareVersion`, back into
// text fields: the first 204 bytes for 1.01 to 3.09, all 216 with the seating fields from 3.10.
// Derived coefficients, slopes, whole-pound copies, markers and checksum are not read.
// Returns false, leaving the record untouched, for firmware 1.00 and older, whose image is
// never uploaded.
bool UnpackSetup(SetupParameters& record, int firmwareVersion);

// The two-decimal text of `value`, rounding up from a fraction of 0.495 of the last digit.
std::string TwoDecimalText(double value);
// The whole-pound text ("%.2f") of a force word, rounding up from a fraction of 0.495.
std::string WholePoundText(uint16_t forceCounts);

}  // namespace velmar
