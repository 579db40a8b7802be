#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <span>

namespace velmar {

enum class AtomicWriteResult { Done, CannotCreate, WriteError };

// Writes `data` to a temporary file in the folder of `path` and renames it over `path`, so a
// failure never leaves a partial file in place of the old one. `modificationTime`, when given,
// becomes the file's modification time.
AtomicWriteResult WriteFileAtomically(const std::filesystem::path& path,
                                      std::span<const std::uint8_t> data,
                                      std::optional<std::time_t> modificationTime = {});

}  // namespace velmar
