#pragma once

#include <ctime>

namespace velmar {

// The current local time, for the stamps of reports and files.
inline std::tm LocalTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

}  // namespace velmar
