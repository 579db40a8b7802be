// velmar-dbpack: builds a configuration archive that ConfigDatabase reads back.
#include <sys/stat.h>

#include <charconv>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/replacing_file.h"
#include "configdb/archive_format.h"
#include "configdb/archive_writer.h"

namespace {

constexpr const char* kUsage =
    "usage: velmar-dbpack [--compress] [--password P] [--time SECONDS] OUT.db FILE...\n"
    "  --time SECONDS  stamp every entry with this time (seconds since 1970) instead of the\n"
    "                  file's modification time, so a pack does not depend on the checkout\n"
    "The first entry, Manifest.sha256, holds the SHA-256 of every other entry as stored.\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "velmar-dbpack: %s\n", message.c_str());
  return 1;
}

std::optional<std::time_t> ParseSeconds(std::string_view text) {
  std::time_t seconds = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
  if (error != std::errc() || end != text.data() + text.size() || seconds < 0) {
    return std::nullopt;
  }
  return seconds;
}

bool ReadSource(const std::string& path, std::optional<std::time_t> fixedTime,
                velmar::ArchiveSource& source) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return false;
  }
  source.data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    return false;
  }
  const std::string::size_type slash = path.find_last_of('/');
  source.name = slash == std::string::npos ? path : path.substr(slash + 1);
  source.timestamp = velmar::PackArchiveTimestamp(fixedTime.value_or(status.st_mtime));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  velmar::ArchiveOptions options;
  std::optional<std::time_t> fixedTime;
  int next = 1;
  for (; next < argc; ++next) {
    const std::string_view arg = argv[next];
    if (arg == "--compress") {
      options.compress = true;
    } else if (arg == "--password" && next + 1 < argc) {
      options.password = argv[++next];
    } else if (arg == "--time" && next + 1 < argc) {
      fixedTime = ParseSeconds(argv[++next]);
      if (!fixedTime) {
        return Fail(std::string("not a time in seconds: ") + argv[next]);
      }
    } else {
      break;
    }
  }
  if (argc - next < 2 || std::string_view(argv[next]).starts_with("--")) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string output = argv[next++];
  std::vector<velmar::ArchiveSource> sources;
  for (; next < argc; ++next) {
    velmar::ArchiveSource source;
    if (!ReadSource(argv[next], fixedTime, source)) {
      return Fail(std::string("cannot read ") + argv[next]);
    }
    sources.push_back(std::move(source));
  }
  std::vector<std::uint8_t> archive;
  std::string error;
  if (!velmar::BuildArchive(sources, options, archive, error)) {
    return Fail(error);
  }
  velmar::ReplacingFile file;
  if (!file.Open(output) ||
      !file.Write(
          std::string_view(reinterpret_cast<const char*>(archive.data()), archive.size())) ||
      !file.Commit()) {
    return Fail("cannot write " + output);
  }
  return 0;
}
