#pragma once

#include <string>

#include "base/file_result.h"
#include "ports/clock.h"
#include "ports/ui.h"
#include "setup/setup_parameters.h"

namespace velmar {

// Writes the record as a setup file at `path` in the "File Transfer Progress" window; stamps
// DATETIME with the current local time first. An existing file is replaced only once the new one
// is completely written. Fails after the "File Error" warning when the file cannot be written.
FileResult SaveSetupFile(SetupParameters& record, const std::string& path, Ui& ui, Clock& clock);

// Reads the setup file at `path` into the record in the "File Transfer Progress" window. The four
// fields of firmware 3.10 and later are reset to their defaults first; any other field whose key
// the file lacks keeps its value. Fails after the "File Error" warning with the record
// unchanged when the file cannot be read, or with kNothingRecognised when no line of it names a
// setup key.
FileResult LoadSetupFile(SetupParameters& record, const std::string& path, Ui& ui, Clock& clock);

// The same load without progress window, status texts or pauses, for the configuration database.
FileResult LoadSetupFileByName(SetupParameters& record, const std::string& path, Ui& ui);

// Why a file that was read is no setup file, for the command line's detail line.
inline constexpr const char* kNoSetupParametersReason = "no setup parameters found";

}  // namespace velmar
