#include "configdb/archive_format.h"

#include <algorithm>
#include <cctype>

namespace velmar {

void AppendLe16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void AppendLe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  AppendLe16(out, static_cast<std::uint16_t>(value));
  AppendLe16(out, static_cast<std::uint16_t>(value >> 16));
}

std::uint32_t PackArchiveTimestamp(std::time_t time) {
  std::tm local{};
  localtime_r(&time, &local);
  const auto minutes = static_cast<std::uint32_t>(local.tm_hour * 60 + local.tm_min);
  return (static_cast<std::uint32_t>(local.tm_mday) << 24) |
         ((static_cast<std::uint32_t>(local.tm_year) & 0xFFu) << 16) |
         (static_cast<std::uint32_t>(local.tm_mon + 1) << 12) | minutes;
}

std::time_t ArchiveTimestampToTime(std::uint32_t timestamp) {
  std::tm local{};
  local.tm_mday = static_cast<int>(timestamp >> 24);
  local.tm_year = static_cast<int>((timestamp >> 16) & 0xFFu);
  local.tm_mon = static_cast<int>((timestamp >> 12) & 0xFu) - 1;
  const int minutes = static_cast<int>(timestamp & 0xFFFu);
  local.tm_hour = minutes / 60;
  local.tm_min = minutes % 60;
  // The stamp is the wall-clock time of the packing machine; let the zone rules decide
  // whether daylight-saving time applied, so the file shows the same clock time again.
  local.tm_isdst = -1;
  return std::mktime(&local);
}

bool IsPlainFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

bool SameEntryName(std::string_view a, std::string_view b) {
  return std::ranges::equal(
      a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

}  // namespace velmar
