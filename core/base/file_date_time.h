#pragma once

#include <string>

namespace velmar {

// The local date and time as setup and fault configuration files stamp themselves:
// "MM/DD/YYYY-hh:mm:ss".
std::string FileDateTimeNow();

}  // namespace velmar
