#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string_view>

namespace velmar::fuzz {

// The one private folder of a fuzz run; every file a target writes lives in it.
const std::filesystem::path& RunFolder();

// Writes `size` bytes to `name` in the run folder (replacing it) and returns its path.
std::filesystem::path WriteRunFile(std::string_view name, const uint8_t* data, std::size_t size);

// The bytes as a read-only stream for the readers that take a FILE*; close with fclose.
std::FILE* MemoryFile(const uint8_t* data, std::size_t size);

}  // namespace velmar::fuzz
