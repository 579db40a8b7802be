#include "configdb/archive_writer.h"

#include <lzo/lzo1x.h>

#include <span>

#include "configdb/archive_format.h"
#include "configdb/archive_keystream.h"

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

bool AppendEntry(const ArchiveSource& source, const ArchiveOptions& options,
                 std::vector<std::uint8_t>& archive, std::string& error) {
  if (!IsPlainFileName(source.name) || source.name.size() + 1 > kMaxEntryNameLength) {
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

  AppendLe16(archive, static_cast<std::uint16_t>(source.name.size() + 1));
  AppendLe32(archive, static_cast<std::uint32_t>(data.size()));
  AppendLe16(archive, 0);  // extra16, not interpreted
  AppendLe32(archive, source.timestamp);
  AppendLe16(archive, flags);
  archive.insert(archive.end(), source.name.begin(), source.name.end());
  archive.push_back(0);
  archive.insert(archive.end(), data.begin(), data.end());
  return true;
}

}  // namespace

bool BuildArchive(const std::vector<ArchiveSource>& sources, const ArchiveOptions& options,
                  std::vector<std::uint8_t>& archive, std::string& error) {
  archive.clear();
  AppendLe16(archive, kHeaderWord1);
  AppendLe16(archive, kHeaderWord2);
  for (const ArchiveSource& source : sources) {
    if (!AppendEntry(source, options, archive, error)) {
      return false;
    }
  }
  AppendLe16(archive, 0);
  return true;
}

}  // namespace velmar
