#include "configdb/atomic_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

namespace velmar {
namespace {

bool WriteAll(int fd, std::span<const std::uint8_t> data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t written = ::write(fd, data.data() + done, data.size() - done);
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    done += static_cast<std::size_t>(written);
  }
  return true;
}

bool FinishFile(int fd, std::span<const std::uint8_t> data,
                std::optional<std::time_t> modificationTime) {
  if (!WriteAll(fd, data) || ::fchmod(fd, 0644) != 0) {
    return false;
  }
  if (modificationTime) {
    const timespec times[2] = {{*modificationTime, 0}, {*modificationTime, 0}};
    if (::futimens(fd, times) != 0) {
      return false;
    }
  }
  return true;
}

}  // namespace

AtomicWriteResult WriteFileAtomically(const std::filesystem::path& path,
                                      std::span<const std::uint8_t> data,
                                      std::optional<std::time_t> modificationTime) {
  std::string pattern = path.string() + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) {
    return AtomicWriteResult::CannotCreate;
  }
  const bool written = FinishFile(fd, data, modificationTime);
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || std::rename(name.data(), path.c_str()) != 0) {
    ::unlink(name.data());
    return AtomicWriteResult::WriteError;
  }
  return AtomicWriteResult::Done;
}

}  // namespace velmar
