#include "sim_memory.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/little_endian.h"
#include "fault_config_memory.h"

namespace velmar {

namespace {

std::string Reason(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

bool WriteAll(int fd, const uint8_t* data, size_t length) {
  while (length > 0) {
    const ssize_t written = write(fd, data, length);
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    data += written;
    length -= static_cast<size_t>(written);
  }
  return true;
}

}  // namespace

SimMemory::SimMemory() {
  SeedFaultConfiguration(*this);
}

uint32_t SimMemory::SerialNumber() const {
  return words_[kSerialNumberWord] | (uint32_t{words_[kSerialNumberWord + 1]} << 16);
}

void SimMemory::SetSerialNumber(uint32_t serial) {
  words_[kSerialNumberWord] = static_cast<uint16_t>(serial & 0xFFFF);
  words_[kSerialNumberWord + 1] = static_cast<uint16_t>(serial >> 16);
}

std::string SimMemory::Text(size_t firstWord, size_t chars) const {
  std::string text;
  for (size_t i = 0; i < chars; ++i) {
    const uint16_t word = words_[firstWord + i / 2];
    const char c = static_cast<char>(i % 2 == 0 ? word & 0xFF : word >> 8);
    if (c == '\0') {
      break;
    }
    text.push_back(c);
  }
  return text;
}

void SimMemory::SetText(size_t firstWord, size_t chars, const std::string& text) {
  for (size_t i = 0; i < chars; i += 2) {
    const uint8_t low = i < text.size() ? static_cast<uint8_t>(text[i]) : 0;
    const uint8_t high = i + 1 < text.size() ? static_cast<uint8_t>(text[i + 1]) : 0;
    words_[firstWord + i / 2] = static_cast<uint16_t>(low | (high << 8));
  }
}

bool SimMemory::Load(const std::string& path, std::string& error) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = Reason("Cannot open memory file", path);
    return false;
  }
  // One byte more than an image so that a longer file is told apart.
  uint8_t bytes[kMemoryFileBytes + 1];
  size_t total = 0;
  while (total < sizeof bytes) {
    const ssize_t got = read(fd, bytes + total, sizeof bytes - total);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      error = Reason("Cannot read memory file", path);
      close(fd);
      return false;
    }
    if (got == 0) {
      break;
    }
    total += static_cast<size_t>(got);
  }
  close(fd);
  if (total != kMemoryFileBytes) {
    error = "Memory file " + path + " is not an image of " + std::to_string(kMemoryFileBytes) +
            " bytes";
    return false;
  }
  for (size_t i = 0; i < kMemoryWords; ++i) {
    words_[i] = ReadLe16(bytes + 2 * i);
  }
  return true;
}

bool SimMemory::Save(const std::string& path, std::string& error) const {
  uint8_t bytes[kMemoryFileBytes];
  for (size_t i = 0; i < kMemoryWords; ++i) {
    WriteLe16(bytes + 2 * i, words_[i]);
  }
  std::string temp = path + ".XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) {
    error = Reason("Cannot create a temporary file for", path);
    return false;
  }
  bool written = fchmod(fd, 0644) == 0 && WriteAll(fd, bytes, sizeof bytes) && fsync(fd) == 0;
  written = close(fd) == 0 && written;
  if (!written) {
    error = Reason("Cannot write memory file", path);
    unlink(temp.c_str());
    return false;
  }
  if (rename(temp.c_str(), path.c_str()) != 0) {
    error = Reason("Cannot replace memory file", path);
    unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace velmar
