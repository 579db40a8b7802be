#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace velmar {

// The manifest entry vouches for every other entry of an archive. It is the archive's first
// entry, stored in clear with flags, time stamp and unused word all 0, and holds one line per
// other entry in archive order: 64 lower-case hexadecimal digits, one blank, the entry's name, a
// line feed. The digits are the SHA-256 of the entry exactly as stored: its 14-byte header, its
// name bytes with the terminating zero, and its data, so a change to any of them shows.
// Configuration entries all end in ".cfg"; this name cannot be one of them.
inline constexpr std::string_view kManifestName = "Manifest.sha256";

// The digest text of one stored entry: `headerAndName` then `data`.
std::string StoredEntryDigest(std::span<const std::uint8_t> headerAndName,
                              std::span<const std::uint8_t> data);

// The manifest line of an entry.
std::string ManifestLine(std::string_view digest, std::string_view name);

// Entry name to digest text, as a manifest lists them (the first line of a name counts);
// nullopt when `text` is not a well-formed manifest.
std::optional<std::map<std::string, std::string>> ParseManifest(std::string_view text);

}  // namespace velmar
