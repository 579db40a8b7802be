#include "fuzz_files.h"

#include <cstdlib>
#include <fstream>

#include "base/temp_folder.h"

namespace velmar::fuzz {

const std::filesystem::path& RunFolder() {
  // Lives until the process ends, which removes it with everything in it.
  static const TempFolder folder;
  if (!folder.Valid()) {
    std::abort();
  }
  return folder.Path();
}

std::filesystem::path WriteRunFile(std::string_view name, const uint8_t* data, std::size_t size) {
  const std::filesystem::path path = RunFolder() / name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

std::FILE* MemoryFile(const uint8_t* data, std::size_t size) {
  // fmemopen refuses an empty buffer; an empty file reads the same.
  return size == 0 ? std::fopen("/dev/null", "r") : fmemopen(const_cast<uint8_t*>(data), size, "r");
}

}  // namespace velmar::fuzz
