#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmar {

struct ArchiveSource {
  std::string name;  // a plain file name of at most 129 bytes
  std::vector<std::uint8_t> data;
  std::uint32_t timestamp = 0;  // packed as PackArchiveTimestamp does
};

struct ArchiveOptions {
  bool compress = false;  // LZO1X-1
  std::string password;   // empty: stored in clear
  bool manifest = true;   // the first entry vouches for the others (archive_manifest.h)
};

// Builds a complete configuration archive in memory, entries in the given order. False, with
// `error` naming the offending entry, when a name or size cannot be stored or a name repeats
// (letter case aside), which would leave an entry no lookup reaches.
bool BuildArchive(const std::vector<ArchiveSource>& sources, const ArchiveOptions& options,
                  std::vector<std::uint8_t>& archive, std::string& error);

}  // namespace velmar
