#include "base/replacing_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace velmar {

namespace {

constexpr int kNameAttempts = 100;

}  // namespace

ReplacingFile::~ReplacingFile() {
  Discard();
}

bool ReplacingFile::Fail() {
  if (error_ == 0) {
    error_ = errno != 0 ? errno : EIO;
  }
  return false;
}

bool ReplacingFile::Open(const std::string& path) {
  Discard();
  path_ = path;
  error_ = 0;
  struct stat target {};
  inPlace_ = stat(path.c_str(), &target) == 0 && !S_ISREG(target.st_mode);
  if (inPlace_) {
    // Without O_NONBLOCK a pipe nobody reads would hang the open; writes then block as usual.
    fd_ = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    return (fd_ >= 0 && fcntl(fd_, F_SETFL, 0) == 0) || Fail();
  }
  // The mode 0666 lets the umask decide the permissions, as for any newly created file.
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string candidate =
        path + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(attempt);
    fd_ = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      temporaryPath_ = candidate;
      return true;
    }
    if (errno != EEXIST) {
      return Fail();
    }
  }
  return Fail();
}

bool ReplacingFile::Write(std::string_view bytes) {
  while (error_ == 0 && fd_ >= 0 && !bytes.empty()) {
    const ssize_t written = write(fd_, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return Fail();
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return error_ == 0 && fd_ >= 0;
}

bool ReplacingFile::Commit() {
  if (error_ != 0 || fd_ < 0) {
    Discard();
    return false;
  }
  // Devices and pipes cannot be synced; what they took is all there is to check.
  if (fsync(fd_) != 0 && !(inPlace_ && (errno == EINVAL || errno == EROFS))) {
    Fail();
  }
  const int fd = fd_;
  fd_ = -1;
  if (close(fd) != 0) {
    Fail();
  }
  if (error_ == 0 && !inPlace_ && std::rename(temporaryPath_.c_str(), path_.c_str()) != 0) {
    Fail();
  }
  if (error_ != 0) {
    Discard();
    return false;
  }
  temporaryPath_.clear();
  return true;
}

void ReplacingFile::Discard() {
  if (fd_ >= 0) {
    close(fd_);
    fd_ = -1;
  }
  if (!temporaryPath_.empty()) {
    std::remove(temporaryPath_.c_str());
    temporaryPath_.clear();
  }
}

}  // namespace velmar
