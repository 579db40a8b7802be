#include "base/replacing_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace velmar {

namespace {

constexpr int kNameAttempts = 100;

}  // namespace

ReplacingFile::~ReplacingFile() {
  Discard();
}

bool ReplacingFile::Open(const std::string& path) {
  Discard();
  path_ = path;
  failed_ = false;
  error_ = 0;
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
      error_ = errno;
      return false;
    }
  }
  error_ = EEXIST;
  return false;
}

bool ReplacingFile::Write(std::string_view bytes) {
  while (!failed_ && fd_ >= 0 && !bytes.empty()) {
    const ssize_t written = write(fd_, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      // A write that takes nothing without an error is a full device.
      error_ = written < 0 ? errno : ENOSPC;
      failed_ = true;
      break;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return !failed_ && fd_ >= 0;
}

bool ReplacingFile::Commit() {
  if (failed_ || fd_ < 0) {
    Discard();
    return false;
  }
  const bool synced = fsync(fd_) == 0;
  if (!synced) {
    error_ = errno;
  }
  const bool closed = close(fd_) == 0;
  if (synced && !closed) {
    error_ = errno;
  }
  fd_ = -1;
  if (!synced || !closed || std::rename(temporaryPath_.c_str(), path_.c_str()) != 0) {
    error_ = error_ != 0 ? error_ : errno;
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
