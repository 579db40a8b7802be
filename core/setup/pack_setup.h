#pragma once

#include "setup/setup_parameters.h"

namespace velmar {

// Stamps DATETIME with the current local time, then packs the record into its page image in the
// layout of `firmwareVersion` (0x100: 1.00, 0x101 to 0x300: 1.01, later: 3.01), derived loop
// coefficients and checksum included. Byte 3 and the bytes behind the layout keep their content.
// Never fails: text without a number packs as 0.
void PackSetup(SetupParameters& record, int firmwareVersion);

}  // namespace velmar
