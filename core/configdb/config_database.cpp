#include "configdb/config_database.h"

#include <fcntl.h>
#include <lzo/lzo1x.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "base/little_endian.h"
#include "base/replacing_file.h"
#include "configdb/archive_format.h"
#include "configdb/archive_keystream.h"
#include "configdb/archive_manifest.h"

namespace velmar {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

enum class Walk { Found, NotFound, CannotOpen, Empty, ReadError };

bool ReadExact(std::FILE* file, std::uint8_t* buffer, std::size_t size) {
  return std::fread(buffer, 1, size, file) == size;
}

// Walks the directory from the start up to the entry named `entryName`; on Found the file is
// positioned at the entry's data, `info` holds its header and `headerAndName` its header and
// name bytes as stored. Every size is checked against what is left of the file, so a damaged
// directory ends in ReadError, never in a wild read.
Walk FindInDirectory(const std::filesystem::path& archivePath, std::string_view entryName,
                     FilePtr& file, ArchiveEntryInfo& info,
                     std::vector<std::uint8_t>& headerAndName) {
  file.reset(std::fopen(archivePath.c_str(), "rb"));
  struct stat status {};
  if (!file || ::fstat(fileno(file.get()), &status) != 0 || !S_ISREG(status.st_mode)) {
    return Walk::CannotOpen;
  }
  const auto fileSize = static_cast<std::uint64_t>(status.st_size);

  std::array<std::uint8_t, kEntryFixedHeaderSize> header{};
  if (!ReadExact(file.get(), header.data(), 2)) {
    return Walk::ReadError;
  }
  if (ReadLe16(header.data()) == 0) {
    return Walk::Empty;
  }
  if (!ReadExact(file.get(), header.data(), 2)) {
    return Walk::ReadError;
  }
  std::uint64_t offset = kArchiveHeaderSize;
  std::array<std::uint8_t, kMaxEntryNameLength> name{};
  for (;;) {
    if (!ReadExact(file.get(), header.data(), 2)) {
      return Walk::ReadError;
    }
    const std::uint16_t nameLength = ReadLe16(header.data());
    if (nameLength == 0) {
      return Walk::NotFound;
    }
    if (nameLength > kMaxEntryNameLength ||
        !ReadExact(file.get(), header.data() + 2, kEntryFixedHeaderSize - 2) ||
        !ReadExact(file.get(), name.data(), nameLength)) {
      return Walk::ReadError;
    }
    const std::uint32_t storedSize = ReadLe32(header.data() + 2);
    const std::uint64_t dataOffset = offset + kEntryFixedHeaderSize + nameLength;
    if (storedSize > fileSize - std::min(fileSize, dataOffset)) {
      return Walk::ReadError;
    }
    const auto nameEnd = std::find(name.begin(), name.begin() + nameLength, 0);
    const std::string storedName(name.begin(), nameEnd);
    if (SameEntryName(storedName, entryName)) {
      info.nameLength = nameLength;
      info.storedSize = storedSize;
      info.extra16 = ReadLe16(header.data() + 6);
      info.timestamp = ReadLe32(header.data() + 8);
      info.flags = ReadLe16(header.data() + 12);
      info.name = storedName;
      info.headerOffset = static_cast<std::uint32_t>(offset);
      info.originalSize = storedSize;
      headerAndName.assign(header.begin(), header.end());
      headerAndName.insert(headerAndName.end(), name.begin(), name.begin() + nameLength);
      return Walk::Found;
    }
    offset = dataOffset + storedSize;
    if (std::fseek(file.get(), static_cast<long>(offset), SEEK_SET) != 0) {
      return Walk::ReadError;
    }
  }
}

ExtractResult ExpandEntry(const std::vector<std::uint8_t>& data, std::uint32_t originalSize,
                          std::vector<std::uint8_t>& expanded) {
  if (originalSize > kMaxEntrySize) {
    return ExtractResult::kNoMemory;
  }
  if (lzo_init() != LZO_E_OK) {
    return ExtractResult::kCorruptData;
  }
  // One spare byte keeps the pointer valid for an empty entry.
  expanded.assign(static_cast<std::size_t>(originalSize) + 1, 0);
  lzo_uint produced = originalSize;
  const int status =
      lzo1x_decompress_safe(data.data() + kOriginalSizePrefix, data.size() - kOriginalSizePrefix,
                            expanded.data(), &produced, nullptr);
  if (status != LZO_E_OK || produced != originalSize) {
    return ExtractResult::kCorruptData;
  }
  expanded.resize(produced);
  return ExtractResult::kDone;
}

// The result of a directory walk that did not find its entry. FindEntry and Extract share the
// codes of these outcomes and differ only in their read-error code.
template <typename Result>
Result WalkFailure(Walk walk, Result readError) {
  switch (walk) {
    case Walk::NotFound:
      return Result::kNotFound;
    case Walk::CannotOpen:
      return Result::kCannotOpenArchive;
    case Walk::Empty:
      return Result::kEmptyArchive;
    case Walk::Found:
    case Walk::ReadError:
      break;
  }
  return readError;
}

// The manifest when it is the archive's first entry; nullopt for an archive without one.
// `digests` is empty when the manifest is there but not in the form the writer gives it.
struct ManifestEntry {
  ArchiveEntryInfo info;
  std::optional<std::map<std::string, std::string>> digests;
};

std::optional<ManifestEntry> ReadManifest(const std::filesystem::path& archivePath) {
  FilePtr file;
  ManifestEntry manifest;
  std::vector<std::uint8_t> headerAndName;
  if (FindInDirectory(archivePath, kManifestName, file, manifest.info, headerAndName) !=
          Walk::Found ||
      manifest.info.headerOffset != kArchiveHeaderSize) {
    return std::nullopt;
  }
  const ArchiveEntryInfo& info = manifest.info;
  std::string text(info.storedSize, '\0');
  if (info.flags == 0 && info.timestamp == 0 && info.extra16 == 0 &&
      info.storedSize <= kMaxEntrySize &&
      ReadExact(file.get(), reinterpret_cast<std::uint8_t*>(text.data()), text.size())) {
    manifest.digests = ParseManifest(text);
  }
  return manifest;
}

// The name of the entry at fault when the archive carries a manifest that does not vouch for
// the entry found at `found` (header and name bytes `headerAndName`, data `data`): the manifest
// itself when it is damaged, else the entry. Nullopt when all is well or there is no manifest.
std::optional<std::string> ManifestFault(const std::filesystem::path& archivePath,
                                         const ArchiveEntryInfo& found,
                                         std::span<const std::uint8_t> headerAndName,
                                         std::span<const std::uint8_t> data) {
  const std::optional<ManifestEntry> manifest = ReadManifest(archivePath);
  if (!manifest) {
    return std::nullopt;
  }
  if (!manifest->digests) {
    return manifest->info.name;
  }
  if (found.headerOffset == manifest->info.headerOffset) {
    return std::nullopt;
  }
  const auto listed = manifest->digests->find(found.name);
  if (listed == manifest->digests->end() ||
      listed->second != StoredEntryDigest(headerAndName, data)) {
    return found.name;
  }
  return std::nullopt;
}

}  // namespace

std::string DamagedEntryText(const std::string& entryName) {
  return "Configuration database entry " + entryName + " is damaged.";
}

FindResult ConfigDatabase::FindEntry(const std::filesystem::path& archivePath,
                                     const std::string& entryName) {
  FilePtr file;
  ArchiveEntryInfo found;
  std::vector<std::uint8_t> headerAndName;
  if (const Walk walk = FindInDirectory(archivePath, entryName, file, found, headerAndName);
      walk != Walk::Found) {
    return WalkFailure(walk, FindResult::kReadError);
  }
  if ((found.flags & kEntryCompressed) != 0) {
    std::array<std::uint8_t, kOriginalSizePrefix> prefix{};
    if (found.storedSize < kOriginalSizePrefix ||
        !ReadExact(file.get(), prefix.data(), prefix.size())) {
      return FindResult::kReadError;
    }
    found.originalSize = ReadLe32(prefix.data());
  }
  entry = found;
  return FindResult::kFound;
}

ExtractResult ConfigDatabase::Extract(const std::filesystem::path& archivePath,
                                      const std::string& entryName, const std::string& password,
                                      const std::filesystem::path& outputFolder) {
  if (!IsPlainFileName(entryName)) {
    return ExtractResult::kCannotCreateOutput;
  }
  damagedEntry.clear();
  FilePtr file;
  ArchiveEntryInfo found;
  std::vector<std::uint8_t> headerAndName;
  if (const Walk walk = FindInDirectory(archivePath, entryName, file, found, headerAndName);
      walk != Walk::Found) {
    return WalkFailure(walk, ExtractResult::kReadWriteError);
  }
  if (found.storedSize > kMaxEntrySize) {
    return ExtractResult::kNoMemory;
  }
  std::vector<std::uint8_t> data(found.storedSize);
  if (!ReadExact(file.get(), data.data(), data.size())) {
    return ExtractResult::kReadWriteError;
  }
  file.reset();
  if (const std::optional<std::string> fault =
          ManifestFault(archivePath, found, headerAndName, data)) {
    damagedEntry = *fault;
    return ExtractResult::kDamaged;
  }

  const bool compressed = (found.flags & kEntryCompressed) != 0;
  if (compressed && data.size() < kOriginalSizePrefix) {
    return ExtractResult::kCorruptData;
  }
  if ((found.flags & kEntryEnciphered) != 0) {
    if (password.empty()) {
      return ExtractResult::kNoPassword;
    }
    const std::size_t skip = compressed ? kOriginalSizePrefix : 0;
    ArchiveKeystream(password).Apply(std::span(data).subspan(skip));
  }
  std::vector<std::uint8_t> expanded;
  if (compressed) {
    found.originalSize = ReadLe32(data.data());
    if (const ExtractResult result = ExpandEntry(data, found.originalSize, expanded);
        result != ExtractResult::kDone) {
      return result;
    }
  }
  const std::vector<std::uint8_t>& contents = compressed ? expanded : data;
  const std::filesystem::path outputPath = outputFolder / entryName;
  ReplacingFile output;
  if (!output.Open(outputPath.string())) {
    return ExtractResult::kCannotCreateOutput;
  }
  if (!output.Write(
          std::string_view(reinterpret_cast<const char*>(contents.data()), contents.size())) ||
      !output.Commit()) {
    return ExtractResult::kReadWriteError;
  }
  // The time only dates the file; the entry is complete either way.
  const std::time_t time = ArchiveTimestampToTime(found.timestamp);
  const timespec times[2] = {{time, 0}, {time, 0}};
  ::utimensat(AT_FDCWD, outputPath.c_str(), times, 0);
  entry = found;
  return ExtractResult::kDone;
}

}  // namespace velmar
