#include "ports/posix_serial_driver.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ports/device_open_failure.h"

#include "ports/line_speed.h"

namespace velmar {

namespace {

// Driver results.
constexpr int kFailed = -1;
constexpr int kNoSuchPort = -2;
constexpr int kPortBusy = -4;
constexpr int kSetupFailed = -10;
constexpr int kIoFailed = -3;
constexpr int kUnknownBaud = -12;

// How long a write may wait for room in the output queue.
constexpr int kWriteWaitMs = 1000;

// Raw 8N1 without flow control; reads never block.
bool MakeRaw(int fd) {
  termios settings{};
  if (tcgetattr(fd, &settings) != 0) {
    return false;
  }
  cfmakeraw(&settings);
  settings.c_cflag &= ~static_cast<tcflag_t>(PARENB | CSTOPB | CSIZE | CRTSCTS);
  settings.c_cflag |= CS8 | CLOCAL | CREAD;
  settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  settings.c_cc[VMIN] = 0;
  settings.c_cc[VTIME] = 0;
  return tcsetattr(fd, TCSANOW, &settings) == 0;
}

// A device another program holds with TIOCEXCL still opens for a privileged user; treat it as
// busy all the same.
bool HeldExclusivelyElsewhere(int fd) {
  int exclusive = 0;
  return ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
}

// The other end hung up, or the device reports an error.
bool HungUp(int fd) {
  pollfd state{fd, POLLIN, 0};
  return ::poll(&state, 1, 0) > 0 && (state.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

}  // namespace

PosixSerialDriver::PosixSerialDriver() {
  descriptors_.fill(-1);
}

PosixSerialDriver::~PosixSerialDriver() {
  for (int& fd : descriptors_) {
    if (fd >= 0) {
      ::close(fd);
      fd = -1;
    }
  }
}

std::string PosixSerialDriver::DevicePath(int index) const {
  if (!deviceOverride_.empty()) {
    return deviceOverride_;
  }
  const std::string variable = "VELMAR_COM" + std::to_string(index + 1);
  const char* named = std::getenv(variable.c_str());
  if (named != nullptr && named[0] != '\0') {
    return named;
  }
  return "/dev/ttyS" + std::to_string(index);
}

int PosixSerialDriver::Descriptor(int index) const {
  if (index < 0 || index >= kMaxPorts) {
    return -1;
  }
  return descriptors_[index];
}

int PosixSerialDriver::FailOpen(const std::string& path, int error, int code) {
  lastError_ = DeviceOpenFailureText(
      path, error, error == EBUSY ? DeviceHolders(path) : std::vector<std::string>{});
  return code;
}

int PosixSerialDriver::Open(int index, int /*receiveQueueSize*/, int /*transmitQueueSize*/) {
  if (index < 0 || index >= kMaxPorts) {
    return FailOpen(DevicePath(index), ENODEV, kNoSuchPort);
  }
  if (descriptors_[index] >= 0) {
    return FailOpen(DevicePath(index), EBUSY, kPortBusy);
  }
  return OpenDevice(index);
}

int PosixSerialDriver::OpenDevice(int index) {
  const std::string path = DevicePath(index);
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    const bool missing = error == ENOENT || error == ENODEV || error == ENXIO;
    return FailOpen(path, error, missing ? kNoSuchPort : error == EBUSY ? kPortBusy : kFailed);
  }
  if (HeldExclusivelyElsewhere(fd) || flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return FailOpen(path, EBUSY, kPortBusy);
  }
  if (!MakeRaw(fd) || ioctl(fd, TIOCEXCL) != 0) {
    const int error = errno;
    ::close(fd);
    return FailOpen(path, error, kSetupFailed);
  }
  descriptors_[index] = fd;
  lost_[index] = false;
  lastError_.clear();
  return 0;
}

int PosixSerialDriver::Lost(int index) {
  lost_[index] = true;
  return kIoFailed;
}

bool PosixSerialDriver::Reopen(int index) {
  if (descriptors_[index] >= 0) {
    ::close(descriptors_[index]);
    descriptors_[index] = -1;
  }
  if (OpenDevice(index) != 0) {
    return false;
  }
  if (bauds_[index] > 0 && SetBaud(index, bauds_[index]) != 0) {
    ::close(descriptors_[index]);
    descriptors_[index] = -1;
    lost_[index] = true;
    return false;
  }
  return true;
}

int PosixSerialDriver::SetBaud(int index, int baud) {
  const int fd = Descriptor(index);
  if (fd < 0) {
    return kFailed;
  }
  const int error = SetLineSpeed(fd, baud);
  if (error == ERANGE) {
    lastError_ = "the device cannot run the line at " + std::to_string(baud) + " baud";
    return kUnknownBaud;
  }
  if (error != 0) {
    lastError_ = std::strerror(error);
    return error == EINVAL ? kUnknownBaud : kFailed;
  }
  bauds_[index] = baud;
  return 0;
}

int PosixSerialDriver::SetModemLine(int index, int line, char setOrClear) {
  const int fd = Descriptor(index);
  if (fd < 0) {
    return kFailed;
  }
  // A pty has no modem lines; the failure is of no consequence.
  const int request = setOrClear == 'S' ? TIOCMBIS : TIOCMBIC;
  return ioctl(fd, request, &line) == 0 ? 0 : kFailed;
}

int PosixSerialDriver::SetOutputA(int index, char setOrClear) {
  return SetModemLine(index, TIOCM_DTR, setOrClear);
}

int PosixSerialDriver::SetOutputB(int index, char setOrClear) {
  return SetModemLine(index, TIOCM_RTS, setOrClear);
}

int PosixSerialDriver::Close(int index) {
  const int fd = Descriptor(index);
  if (index >= 0 && index < kMaxPorts) {
    lost_[index] = false;
    bauds_[index] = 0;
  }
  if (fd < 0) {
    return kFailed;
  }
  ioctl(fd, TIOCNXCL);
  ::close(fd);
  descriptors_[index] = -1;
  return 0;
}

int PosixSerialDriver::DropReceived(int index) {
  const int fd = Descriptor(index);
  return fd >= 0 && tcflush(fd, TCIFLUSH) == 0 ? 0 : kFailed;
}

int PosixSerialDriver::DropUnsent(int index) {
  const int fd = Descriptor(index);
  return fd >= 0 && tcflush(fd, TCOFLUSH) == 0 ? 0 : kFailed;
}

int PosixSerialDriver::Write(int index, const uint8_t* data, int length) {
  if (index >= 0 && index < kMaxPorts && lost_[index] && !Reopen(index)) {
    return kIoFailed;
  }
  const int fd = Descriptor(index);
  if (fd < 0 || length < 0) {
    return kFailed;
  }
  int sent = 0;
  while (sent < length) {
    const ssize_t n = ::write(fd, data + sent, static_cast<size_t>(length - sent));
    if (n > 0) {
      sent += static_cast<int>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n < 0 && errno != EAGAIN) {
      return Lost(index);
    }
    pollfd waitFor{fd, POLLOUT, 0};
    const int ready = ::poll(&waitFor, 1, kWriteWaitMs);
    if (ready < 0 && errno == EINTR) {
      continue;
    }
    if (ready <= 0) {
      return kIoFailed;
    }
    if ((waitFor.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
      return Lost(index);
    }
  }
  return sent;
}

int PosixSerialDriver::ReceiveCount(int index) {
  const int fd = Descriptor(index);
  int waiting = 0;
  if (fd < 0 || lost_[index] || ioctl(fd, FIONREAD, &waiting) != 0) {
    return kFailed;
  }
  if (waiting == 0 && HungUp(fd)) {
    Lost(index);
    return kFailed;
  }
  return waiting;
}

int PosixSerialDriver::Read(int index, uint8_t* buffer, int limit) {
  const int fd = Descriptor(index);
  if (fd < 0 || limit < 0) {
    return kFailed;
  }
  for (;;) {
    const ssize_t n = ::read(fd, buffer, static_cast<size_t>(limit));
    // Without O_NONBLOCK's EAGAIN, nothing read means the line hung up.
    if (n > 0 || (n == 0 && (limit == 0 || !HungUp(fd)))) {
      return static_cast<int>(n);
    }
    if (n < 0 && errno == EINTR) {
      continue;
    }
    return n < 0 && errno == EAGAIN ? 0 : Lost(index);
  }
}

}  // namespace velmar
