#pragma once

#include <string>
#include <vector>

#include "child_process.h"

namespace velmar::test {

// velmar-cli with `command` against the actuator on `device`.
inline RunResult RunCli(const std::string& device, const std::vector<std::string>& command) {
  std::vector<std::string> argv = {VELMAR_CLI_PATH, "--device", device};
  argv.insert(argv.end(), command.begin(), command.end());
  return RunProgram(argv);
}

}  // namespace velmar::test
