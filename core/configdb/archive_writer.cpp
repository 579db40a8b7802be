#include "configdb/archive_writer.h"

#include <lzo/lzo1x.h>

#include <algorithm>
#include <span>

#include "configdb/archive_format.h"
#include "configdb/archive_keystream.h"
#include "configdb/archive_manifest.h"

namespace velmar {
namespace {

// Header word 1 only has to be non-zero; word 2 is not read.
constexpr std::uint16_t kHeaderWord1 = 1;
constexpr std::uint16_t kHeaderWord2 = 0;

bool Compress(const std::vector<std::uint8_t>& input, std::vector<std::uint8_t>& output) {
  if (lzo_init() != LZO_E_OK) {
    return false;
  }
  std::vector<std::uint8_t> workMemory(LZO1X_1_MEM_COMPRESS);
  // Worst-case growth of LZO1X on incompressible data.
  output.assign(input.size() + input.size() / 16 + 64 + 3, 0);
  lzo_uint produced = 0;
  if (lzo1x_1_compress(input.data(), input.size(), output.data(), &produced, workMemory.data()) !=
      LZO_E_OK) {
    return false;
  }
  output.resize(produced);
  return true;
}

// One entry as stored: header, zero-terminated name, data.
std::vector<std::uint8_t> StoredEntry(const std::string& name, std::uint16_t flags,
                                      std::uint32_t timestamp,
                                      const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> entry;
  AppendLe16(entry, static_cast<std::uint16_t>(name.size() + 1));
  AppendLe32(entry, static_cast<std::uint32_t>(data.size()));
  AppendLe16(entry, 0);  // extra16, not interpreted
  AppendLe32(entry, timestamp);
  AppendLe16(entry, flags);
  entry.insert(entry.end(), name.begin(), name.end());
  entry.push_back(0);
  entry.insert(entry.end(), data.begin(), data.end());
  return entry;
}

bool EncodeEntry(const ArchiveSource& source, const ArchiveOptions& options,
                 std::vector<std::uint8_t>& entry, std::string& error) {
  if (!IsPlainFileName(source.name) || source.name.size() + 1 > kMaxEntryNameLength ||
      SameEntryName(source.name, kManifestName)) {
    error = "entry name \"" + source.name + "\" cannot be stored";
    return false;
  }
  if (source.data.size() > kMaxEntrySize) {
    error = "entry \"" + source.name + "\" is too large";
    return false;
  }
  std::vector<std::uint8_t> stream = source.data;
  if (options.compress && !Compress(source.data, stream)) {
    error = "entry \"" + source.name + "\" cannot be compressed";
    return false;
  }
  std::uint16_t flags = 0;
  if (!options.password.empty()) {
    ArchiveKeystream(options.password).Apply(stream);
    flags |= kEntryEnciphered;
  }
  std::vector<std::uint8_t> data;
  if (options.compress) {
    flags |= kEntryCompressed;
    AppendLe32(data, static_cast<std::uint32_t>(source.data.size()));
  }
  data.insert(data.end(), stream.begin(), stream.end());
  entry = StoredEntry(source.name, flags, source.timestamp, data);
  return true;
}

}  // namespace

bool BuildArchive(const std::vector<ArchiveSource>& sources, const ArchiveOptions& options,
                  std::vector<std::uint8_t>& archive, std::string& error) {
  std::vector<std::uint8_t> entries;
  std::string manifest;
  for (auto source = sources.begin(); source != sources.end(); ++source) {
    if (std::any_of(sources.begin(), source, [&](const ArchiveSource& earlier) {
          return SameEntryName(earlier.name, source->name);
        })) {
      error = "entry name \"" + source->name + "\" repeats";
      return false;
    }
    std::vector<std::uint8_t> entry;
    if (!EncodeEntry(*source, options, entry, error)) {
      return false;
    }
    const std::size_t headerAndName = kEntryFixedHeaderSize + source->name.size() + 1;
    manifest += ManifestLine(StoredEntryDigest(std::span(entry).first(headerAndName),
                                               std::span(entry).subspan(headerAndName)),
                             source->name);
    entries.insert(entries.end(), entry.begin(), entry.end());
  }
  archive.clear();
  AppendLe16(archive, kHeaderWord1);
  AppendLe16(archive, kHeaderWord2);
  if (options.manifest) {
    const std::vector<std::uint8_t> manifestEntry =
        StoredEntry(std::string(kManifestName), 0, 0,
                    std::vector<std::uint8_t>(manifest.begin(), manifest.end()));
    archive.insert(archive.end(), manifestEntry.begin(), manifestEntry.end());
  }
  archive.insert(archive.end(), entries.begin(), entries.end());
  AppendLe16(archive, 0);
  return true;
}

}  // namespace velmar
