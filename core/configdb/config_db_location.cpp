#include "configdb/config_db_location.h"

#include <system_error>

namespace velmar {

std::filesystem::path LocateConfigDatabase(
    const std::filesystem::path& overridePath,
    const std::vector<std::filesystem::path>& candidateFolders) {
  std::error_code error;
  if (!overridePath.empty()) {
    return std::filesystem::absolute(overridePath, error);
  }
  for (const std::filesystem::path& folder : candidateFolders) {
    const std::filesystem::path candidate = folder / kConfigDatabaseName;
    if (!folder.empty() && std::filesystem::is_regular_file(candidate, error)) {
      return std::filesystem::absolute(candidate, error);
    }
  }
  return {};
}

std::vector<std::filesystem::path> StandardConfigDatabaseFolders(
    const std::filesystem::path& startupFolder) {
  std::error_code error;
  const std::filesystem::path programFolder =
      std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
  return {startupFolder, programFolder, programFolder.parent_path() / "share" / "velmar"};
}

}  // namespace velmar
