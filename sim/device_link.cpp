#include "device_link.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace velmar {

namespace {

std::string LinkTarget(const std::string& linkPath) {
  char buffer[4096];
  const ssize_t length = readlink(linkPath.c_str(), buffer, sizeof buffer);
  return length < 0 ? std::string() : std::string(buffer, static_cast<size_t>(length));
}

}  // namespace

bool CreateDeviceLink(const std::string& target, const std::string& linkPath, std::string& error) {
  struct stat existing {};
  if (lstat(linkPath.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode)) {
    error = linkPath + " exists and is not a symbolic link; it is left alone";
    return false;
  }
  // A new link beside the old one, renamed over it, so the path never dangles.
  const std::string temp = linkPath + ".tmp" + std::to_string(getpid());
  if (symlink(target.c_str(), temp.c_str()) != 0) {
    error = "Cannot create the link " + linkPath + ": " + std::strerror(errno);
    return false;
  }
  if (rename(temp.c_str(), linkPath.c_str()) != 0) {
    error = "Cannot create the link " + linkPath + ": " + std::strerror(errno);
    unlink(temp.c_str());
    return false;
  }
  return true;
}

void RemoveDeviceLink(const std::string& target, const std::string& linkPath) {
  if (LinkTarget(linkPath) == target) {
    unlink(linkPath.c_str());
  }
}

}  // namespace velmar
