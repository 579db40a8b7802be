#pragma once

#include <string>

namespace velmar {

// A symbolic link at `linkPath` to `target`, replacing an earlier link there. Refuses to
// replace anything that is not a symbolic link. False and the reason in `error` on failure.
bool CreateDeviceLink(const std::string& target, const std::string& linkPath, std::string& error);

// Removes the link if it still points to `target`.
void RemoveDeviceLink(const std::string& target, const std::string& linkPath);

}  // namespace velmar
