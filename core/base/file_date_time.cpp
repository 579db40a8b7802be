#include "base/file_date_time.h"

#include <cstdio>
#include <ctime>

namespace velmar {

std::string FileDateTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  // Formatted wide: the compiler cannot see that the values fit.
  char text[64];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d-%02d:%02d:%02d", local.tm_mon + 1, local.tm_mday,
                local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

}  // namespace velmar
