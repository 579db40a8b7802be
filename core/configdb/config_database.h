#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace velmar {

// What the last successful lookup or extraction found.
struct ArchiveEntryInfo {
  std::uint16_t nameLength = 0;
  std::uint32_t storedSize = 0;
  std::uint16_t extra16 = 0;
  std::uint32_t timestamp = 0;
  std::uint16_t flags = 0;
  std::string name;
  std::uint32_t headerOffset = 0;
  std::uint32_t originalSize = 0;  // the clear prefix of a compressed entry, else storedSize
};

// Results of FindEntry.
inline constexpr int kFindFound = 0;
inline constexpr int kFindNotFound = 1;
inline constexpr int kFindCannotOpenArchive = 2;
inline constexpr int kFindEmptyArchive = 3;
inline constexpr int kFindReadError = 4;  // also a damaged directory

// Results of Extract.
inline constexpr int kExtractDone = 0;
inline constexpr int kExtractNotFound = 1;
inline constexpr int kExtractCannotOpenArchive = 2;
inline constexpr int kExtractEmptyArchive = 3;
inline constexpr int kExtractCannotCreateOutput = 4;  // also a name that is no plain file name
inline constexpr int kExtractCorruptData = 5;         // compressed stream does not expand
inline constexpr int kExtractReadWriteError = 6;      // also a damaged directory or entry
inline constexpr int kExtractNoPassword = 7;
inline constexpr int kExtractNoMemory = 8;  // sizes beyond what an entry can be

// Reader of the configuration archive "config.db". Shows no messages: callers turn the result
// codes into their own.
class ConfigDatabase {
 public:
  int FindEntry(const std::filesystem::path& archivePath, const std::string& entryName);

  // Writes the entry, deciphered and expanded, to `outputFolder`/`entryName` (replacing a file
  // of that name) with its modification time taken from the entry's time stamp. A failure
  // leaves no file behind.
  int Extract(const std::filesystem::path& archivePath, const std::string& entryName,
              const std::string& password, const std::filesystem::path& outputFolder);

  ArchiveEntryInfo entry;
};

}  // namespace velmar
