// velmar-sim: a simulated actuator on a pseudo-terminal.

#include <signal.h>
#include <sys/stat.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <string>

#include "device_link.h"
#include "factory_state.h"
#include "pty_server.h"
#include "sim_options.h"
#include "simulated_actuator.h"
#include "status_settings.h"

namespace {

std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the stop flag is set from a signal handler");

void OnStopSignal(int) {
  stopRequested.store(true);
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "velmar-sim: %s\n", message.c_str());
  return 1;
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

// Reloads the status values file when its modification time has changed.
class StatusFileWatch {
 public:
  StatusFileWatch(std::string path, velmar::StatusValues& status)
      : path_(std::move(path)), status_(status) {}
  bool Load(std::string& error) {
    struct stat info {};
    if (stat(path_.c_str(), &info) != 0) {
      error = "cannot read " + path_;
      return false;
    }
    if (info.st_mtim.tv_sec == seen_.tv_sec && info.st_mtim.tv_nsec == seen_.tv_nsec) {
      return true;
    }
    seen_ = info.st_mtim;
    return velmar::LoadStatusFile(path_, status_, error);
  }

 private:
  std::string path_;
  velmar::StatusValues& status_;
  timespec seen_{};
};

void SaveMemory(const velmar::SimMemory& memory, const std::string& path) {
  std::string error;
  if (!memory.Save(path, error)) {
    std::fprintf(stderr, "velmar-sim: %s\n", error.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  velmar::SimOptions options;
  std::string error;
  switch (velmar::ParseSimOptions(argc, argv, options, error)) {
    case velmar::ParseOutcome::kHelp:
      std::fputs(velmar::SimUsage().c_str(), stdout);
      return 0;
    case velmar::ParseOutcome::kError:
      std::fprintf(stderr, "velmar-sim: %s\nTry velmar-sim --help.\n", error.c_str());
      return 2;
    case velmar::ParseOutcome::kRun:
      break;
  }

  velmar::SimulatedActuator actuator(options.state, options.timing);
  const std::string& memoryPath = options.memoryPath;
  // A memory file that exists but cannot be loaded stops the start, so it is never overwritten.
  const bool memoryFromFile = !memoryPath.empty() && FileExists(memoryPath);
  if (memoryFromFile && !actuator.Memory().Load(memoryPath, error)) {
    return Fail(error);
  }
  velmar::ApplyIdentification(options, actuator.Memory());
  if (!memoryFromFile && !options.blank) {
    velmar::StoreFactorySetup(actuator.Memory(), actuator.FirmwareVersion());
  }
  velmar::ApplyFaultData(options, actuator.Memory());
  actuator.InjectStatusFault(options.statusFault, options.statusFaultCount);
  StatusFileWatch statusFile(options.statusPath, actuator.State().status);
  if (!options.statusPath.empty()) {
    if (!statusFile.Load(error)) {
      return Fail(error);
    }
    // A file being edited may be caught half written; the values then stay as they were.
    actuator.SetStatusHandler([&statusFile] {
      std::string ignored;
      statusFile.Load(ignored);
    });
  }
  actuator.LoseRequests(options.loseAfter, options.loseCount);
  std::unique_ptr<velmar::FrameTrace> trace;
  if (!velmar::FrameTrace::OpenRequested(options.tracePath, trace, error)) {
    return Fail(error);
  }
  actuator.SetTrace(trace.get());
  if (!memoryPath.empty()) {
    actuator.SetCommitHandler(
        [&actuator, &memoryPath] { SaveMemory(actuator.Memory(), memoryPath); });
  }

  // The stop signals stay blocked except while the server waits, so none slips in between a
  // check of the flag and the wait.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigset_t waitMask;
  sigprocmask(SIG_BLOCK, &stopSignals, &waitMask);
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);

  velmar::PtyServer server;
  if (!server.Open(error)) {
    return Fail(error);
  }
  if (!options.linkPath.empty() &&
      !velmar::CreateDeviceLink(server.DevicePath(), options.linkPath, error)) {
    return Fail(error);
  }
  std::printf("%s\n", server.DevicePath().c_str());
  std::fflush(stdout);

  const bool served = server.Serve(actuator, stopRequested, &waitMask, error);
  if (!memoryPath.empty()) {
    SaveMemory(actuator.Memory(), memoryPath);
  }
  if (!options.linkPath.empty()) {
    velmar::RemoveDeviceLink(server.DevicePath(), options.linkPath);
  }
  return served ? 0 : Fail(error);
}
