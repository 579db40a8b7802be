#include "configdb/config_db_location.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
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

std::string ConfigDatabaseDetail(const std::filesystem::path& located,
                                 const std::vector<std::filesystem::path>& candidateFolders) {
  if (located.empty()) {
    std::string text = std::string(kConfigDatabaseName) + " was not found in any of:";
    std::vector<std::filesystem::path> listed;
    for (const std::filesystem::path& folder : candidateFolders) {
      const std::filesystem::path candidate = (folder / kConfigDatabaseName).lexically_normal();
      if (!folder.empty() && std::find(listed.begin(), listed.end(), candidate) == listed.end()) {
        listed.push_back(candidate);
        text += "\n  " + candidate.string();
      }
    }
    return text;
  }
  std::string text = "Configuration database: " + located.string();
  std::error_code error;
  if (std::filesystem::is_directory(located, error)) {
    return text + "\nReason: " + std::strerror(EISDIR);
  }
  errno = 0;
  if (!std::ifstream(located, std::ios::binary)) {
    return text + "\nReason: " + std::strerror(errno != 0 ? errno : ENOENT);
  }
  return text;
}

}  // namespace velmar
