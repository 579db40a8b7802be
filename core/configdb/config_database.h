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
enum class FindResult {
  kFound = 0,
  kNotFound = 1,
  kCannotOpenArchive = 2,
  kEmptyArchive = 3,
  kReadError = 4,  // also a damaged directory
};

// Results of Extract.
enum class ExtractResult {
  kDone = 0,
  kNotFound = 1,
  kCannotOpenArchive = 2,
  kEmptyArchive = 3,
  kCannotCreateOutput = 4,  // also a name that is no plain file name
  kCorruptData = 5,         // compressed stream does not expand
  kReadWriteError = 6,      // also a damaged directory or entry
  kNoPassword = 7,
  kNoMemory = 8,  // sizes beyond what an entry can be
  kDamaged = 9,   // the entry does not match what the archive's manifest holds for it
};

// The message for an entry that Extract found damaged.
std::string DamagedEntryText(const std::string& entryName);

// Reader of the configuration archive "config.db". Shows no messages: callers turn the result
// codes into their own.
class ConfigDatabase {
 public:
  FindResult FindEntry(const std::filesystem::path& archivePath, const std::string& entryName);

  // Writes the entry, deciphered and expanded, to `outputFolder`/`entryName` (replacing a file
  // of that name) with its modification time taken from the entry's time stamp. A failure
  // leaves no file behind. An archive that carries a manifest has the entry checked against it
  // first; kDamaged names the entry at fault (the entry or the manifest) in `damagedEntry`.
  ExtractResult Extract(const std::filesystem::path& archivePath, const std::string& entryName,
                        const std::string& password, const std::filesystem::path& outputFolder);

  ArchiveEntryInfo entry;
  std::string damagedEntry;
};

}  // namespace velmar
