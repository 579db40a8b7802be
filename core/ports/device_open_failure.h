#pragma once

#include <string>
#include <vector>

namespace velmar {

inline constexpr const char* kDialoutFixText =
    "Add your user to the dialout group: sudo usermod -aG dialout $USER, then log in again.";

// Explains a failed open of serial device `path` with system error `error`, one line each: the
// device, the system's reason and, for the common causes, what to do about it. `holders` are
// the processes known to hold the device open.
std::string DeviceOpenFailureText(const std::string& path, int error,
                                  const std::vector<std::string>& holders);

// The processes other than this one that have `path` open, as "PID (name)", found by reading
// the descriptor links under `procRoot`; those this user may not inspect are not seen.
std::vector<std::string> DeviceHolders(const std::string& path,
                                       const std::string& procRoot = "/proc");

}  // namespace velmar
