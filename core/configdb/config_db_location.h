#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace velmar {

inline constexpr const char* kConfigDatabaseName = "config.db";

// Where "config.db" is read from: `overridePath` when it is given (even if missing, so the
// failure names the file the user asked for), else the first of `candidateFolders` (start-up
// folder, folder of the executable, installed data folder) that holds one. The result is
// absolute, so later changes of the current folder do not move it; empty when none is found.
std::filesystem::path LocateConfigDatabase(
    const std::filesystem::path& overridePath,
    const std::vector<std::filesystem::path>& candidateFolders);

// The folders "config.db" is looked for in: the start-up folder, the folder of the running
// program, and the data folder of an installation (<prefix>/share/velmar beside <prefix>/bin).
std::vector<std::filesystem::path> StandardConfigDatabaseFolders(
    const std::filesystem::path& startupFolder);

// What to tell about the database LocateConfigDatabase found (`located`) when it cannot be
// used: every place looked in when none was found; else the file and, when it cannot be read,
// the system's reason.
std::string ConfigDatabaseDetail(const std::filesystem::path& located,
                                 const std::vector<std::filesystem::path>& candidateFolders);

}  // namespace velmar
