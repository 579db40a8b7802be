#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace velmar::test {

namespace {

// Starts `argv` in `workDir` (when given) with stdin on /dev/null, stdout on `outFd` and stderr on
// `errFd` (when not -1). The pipes are close-on-exec, so the child keeps only the ends it got.
pid_t Spawn(const std::vector<std::string>& argv, const std::string& workDir, int outFd,
            int errFd) {
  const pid_t pid = fork();
  if (pid != 0) {
    return pid;
  }
  dup2(::open("/dev/null", O_RDONLY), STDIN_FILENO);
  dup2(outFd, STDOUT_FILENO);
  if (errFd >= 0) {
    dup2(errFd, STDERR_FILENO);
  }
  if (!workDir.empty() && chdir(workDir.c_str()) != 0) {
    _exit(126);
  }
  std::vector<char*> args;
  for (const std::string& word : argv) {
    args.push_back(const_cast<char*>(word.c_str()));
  }
  args.push_back(nullptr);
  execv(args[0], args.data());
  _exit(127);
}

// Reads both pipes until both close.
void Drain(int outFd, int errFd, std::string& out, std::string& err) {
  pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
  for (int open = 2; open > 0 && poll(fds, 2, -1) >= 0;) {
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) {
        continue;
      }
      char buffer[4096];
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n <= 0) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      } else {
        (i == 0 ? out : err).append(buffer, static_cast<size_t>(n));
      }
    }
  }
}

}  // namespace

RunResult RunProgram(const std::vector<std::string>& argv, const std::string& workDir,
                     int interruptAfterMs) {
  RunResult result;
  int outPipe[2];
  int errPipe[2];
  if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) {
    return result;
  }
  const pid_t pid = Spawn(argv, workDir, outPipe[1], errPipe[1]);
  close(outPipe[1]);
  close(errPipe[1]);
  std::thread interrupter;
  if (interruptAfterMs >= 0) {
    interrupter = std::thread([pid, interruptAfterMs] {
      std::this_thread::sleep_for(std::chrono::milliseconds(interruptAfterMs));
      kill(pid, SIGINT);
    });
  }
  Drain(outPipe[0], errPipe[0], result.out, result.err);
  if (interrupter.joinable()) {
    interrupter.join();
  }
  int status = 0;
  waitpid(pid, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

SimProcess::SimProcess(const std::vector<std::string>& options) {
  int outPipe[2];
  if (pipe2(outPipe, O_CLOEXEC) != 0) {
    return;
  }
  std::vector<std::string> argv = {VELMAR_SIM_PATH};
  argv.insert(argv.end(), options.begin(), options.end());
  pid_ = Spawn(argv, "", outPipe[1], -1);
  close(outPipe[1]);
  // The first line the simulator prints is its device.
  char c;
  pollfd fd = {outPipe[0], POLLIN, 0};
  while (poll(&fd, 1, 5000) > 0 && read(outPipe[0], &c, 1) == 1 && c != '\n') {
    device_ += c;
  }
  // Kept open so later output of the simulator never meets a closed pipe.
  outFd_ = outPipe[0];
}

SimProcess::~SimProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  if (outFd_ >= 0) {
    close(outFd_);
  }
}

}  // namespace velmar::test
