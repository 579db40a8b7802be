#pragma once

#include <cstdio>
#include <string>

namespace velmar {

// One printf-style value text; reports and displays format with fixed formats into short texts.
template <typename... Args>
std::string FormatText(const char* format, Args... args) {
  char text[256];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

}  // namespace velmar
