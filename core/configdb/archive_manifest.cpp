#include "configdb/archive_manifest.h"

#include <algorithm>

#include "base/sha256.h"

namespace velmar {
namespace {

constexpr std::size_t kDigestDigits = 64;

bool IsDigestText(std::string_view text) {
  return text.size() == kDigestDigits && std::ranges::all_of(text, [](char c) {
           return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
         });
}

}  // namespace

std::string StoredEntryDigest(std::span<const std::uint8_t> headerAndName,
                              std::span<const std::uint8_t> data) {
  Sha256 hash;
  hash.Update(headerAndName);
  hash.Update(data);
  return Sha256Hex(hash.Finish());
}

std::string ManifestLine(std::string_view digest, std::string_view name) {
  return std::string(digest) + " " + std::string(name) + "\n";
}

std::optional<std::map<std::string, std::string>> ParseManifest(std::string_view text) {
  std::map<std::string, std::string> digests;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) {
      return std::nullopt;
    }
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    if (line.size() <= kDigestDigits + 1 || line[kDigestDigits] != ' ' ||
        !IsDigestText(line.substr(0, kDigestDigits))) {
      return std::nullopt;
    }
    digests.emplace(line.substr(kDigestDigits + 1), line.substr(0, kDigestDigits));
  }
  return digests;
}

}  // namespace velmar
