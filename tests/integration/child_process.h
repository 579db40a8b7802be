#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace velmar::test {

// Output and exit status of a program run to its end.
struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs `argv` to its end, in `workDir` when given; with `interruptAfterMs` set, the program gets
// a SIGINT (Ctrl-C) that long after it started.
RunResult RunProgram(const std::vector<std::string>& argv, const std::string& workDir = "",
                     int interruptAfterMs = -1);

// A velmar-sim running on its own pty for the life of the object.
class SimProcess {
 public:
  explicit SimProcess(const std::vector<std::string>& options);
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  // The pty the simulator serves, empty when it failed to start.
  const std::string& Device() const { return device_; }

 private:
  pid_t pid_ = -1;
  int outFd_ = -1;
  std::string device_;
};

}  // namespace velmar::test
