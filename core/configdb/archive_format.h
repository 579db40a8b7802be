#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string_view>
#include <vector>

namespace velmar {

// Layout of "config.db": a 4-byte archive header, then entries, each a fixed 14-byte header,
// the zero-terminated name and the data; a header whose name length is 0 ends the directory.
// All integers are little-endian.
inline constexpr std::size_t kArchiveHeaderSize = 4;
inline constexpr std::size_t kEntryFixedHeaderSize = 14;
inline constexpr std::size_t kMaxEntryNameLength = 130;  // counts the terminating zero
inline constexpr std::size_t kOriginalSizePrefix = 4;    // in clear ahead of compressed data

inline constexpr std::uint16_t kEntryEnciphered = 1;
inline constexpr std::uint16_t kEntryCompressed = 2;

// Entries are small text files; anything larger is taken as a damaged archive rather than
// allocated.
inline constexpr std::uint32_t kMaxEntrySize = 16u * 1024u * 1024u;

// The password every configuration entry is enciphered with.
inline constexpr std::string_view kConfigurationPassword = "7Q5HaPv";

void AppendLe16(std::vector<std::uint8_t>& out, std::uint16_t value);
void AppendLe32(std::vector<std::uint8_t>& out, std::uint32_t value);

// Entry time stamps: day of month in bits 31-24, year - 1900 in bits 23-16, month in bits
// 15-12, minutes since midnight in bits 11-0; seconds are not kept.
std::uint32_t PackArchiveTimestamp(std::time_t time);
std::time_t ArchiveTimestampToTime(std::uint32_t timestamp);

// True for a name that can only denote a file directly inside a folder.
bool IsPlainFileName(std::string_view name);

// Entry names are looked up without regard to letter case.
bool SameEntryName(std::string_view a, std::string_view b);

}  // namespace velmar
