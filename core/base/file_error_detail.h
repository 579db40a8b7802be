#pragma once

#include <cstring>
#include <string>

namespace velmar {

// The detail of a failed file operation: the file and, when known, the system's reason.
inline std::string FileErrorDetail(const std::string& path, int error) {
  std::string text = "File: " + path;
  if (error != 0) {
    text += std::string("\nReason: ") + std::strerror(error);
  }
  return text;
}

}  // namespace velmar
