#include "pty_server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "ports/device_open_failure.h"

namespace velmar {

namespace {

// Longest single wait, so that a stop flag set from another thread is seen soon.
constexpr int64_t kMaxWaitMs = 100;

int64_t SteadyNowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::string Reason(const char* what) {
  return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

PtyServer::~PtyServer() {
  if (slave_ >= 0) {
    close(slave_);
  }
  if (master_ >= 0) {
    close(master_);
  }
}

bool PtyServer::Open(std::string& error) {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (master_ < 0) {
    error = Reason("Cannot open a pseudo-terminal");
    return false;
  }
  if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
    error = Reason("Cannot unlock the pseudo-terminal");
    return false;
  }
  char name[128];
  if (ptsname_r(master_, name, sizeof name) != 0) {
    error = Reason("Cannot name the pseudo-terminal");
    return false;
  }
  devicePath_ = name;
  slave_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave_ < 0) {
    error = Reason("Cannot open the pseudo-terminal's device");
    return false;
  }
  termios settings{};
  if (tcgetattr(slave_, &settings) != 0) {
    error = Reason("Cannot read the terminal settings");
    return false;
  }
  cfmakeraw(&settings);
  settings.c_cflag |= CLOCAL | CREAD;
  if (tcsetattr(slave_, TCSANOW, &settings) != 0) {
    error = Reason("Cannot set raw mode");
    return false;
  }
  return true;
}

// The terminal's exclusive flag belongs to the terminal, not to the client that set it, and this
// side keeps the terminal open; a client that died without clearing it would leave the device
// busy for every later one. A velmar client holds its lock for as long as it has the device open;
// with the lock free, the flag is cleared once no other process has the device open either.
void PtyServer::ReleaseAbandonedTerminal() {
  int exclusive = 0;
  if (ioctl(slave_, TIOCGEXCL, &exclusive) != 0 || exclusive == 0 ||
      flock(slave_, LOCK_EX | LOCK_NB) != 0) {
    return;
  }
  if (DeviceHolders(devicePath_).empty()) {
    ioctl(slave_, TIOCNXCL);
  }
  flock(slave_, LOCK_UN);
}

bool PtyServer::Serve(SimulatedActuator& actuator, const std::atomic<bool>& stop,
                      const sigset_t* waitMask, std::string& error) {
  uint8_t buffer[256];
  while (!stop.load()) {
    ReleaseAbandonedTerminal();
    const int64_t now = SteadyNowMs();
    const int64_t next = actuator.NextDeliveryMs();
    const int64_t waitMs = next < 0 ? kMaxWaitMs : std::clamp<int64_t>(next - now, 0, kMaxWaitMs);
    pollfd descriptor{master_, POLLIN, 0};
    const timespec timeout{static_cast<time_t>(waitMs / 1000),
                           static_cast<long>((waitMs % 1000) * 1'000'000)};
    const int ready = ppoll(&descriptor, 1, &timeout, waitMask);
    if (ready < 0 && errno != EINTR) {
      error = Reason("Cannot wait for the terminal");
      return false;
    }
    if (ready > 0 && (descriptor.revents & POLLIN) != 0) {
      const ssize_t got = read(master_, buffer, sizeof buffer);
      if (got < 0 && errno != EAGAIN && errno != EINTR) {
        error = Reason("Cannot read from the terminal");
        return false;
      }
      if (got > 0) {
        actuator.Input(buffer, static_cast<size_t>(got), SteadyNowMs());
      }
    }
    // Bytes the terminal cannot take (nobody reading) are lost, as on a real line.
    const size_t due = actuator.Take(buffer, sizeof buffer, SteadyNowMs());
    if (due > 0 && write(master_, buffer, due) < 0 && errno != EAGAIN && errno != EINTR) {
      error = Reason("Cannot write to the terminal");
      return false;
    }
  }
  return true;
}

}  // namespace velmar
