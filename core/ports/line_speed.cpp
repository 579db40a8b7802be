// termios2 lives in the kernel's header, whose struct termios clashes with the C library's
// <termios.h>; this file therefore includes only the kernel's.
#include "ports/line_speed.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstdlib>

namespace velmar {

namespace {

constexpr int kTolerancePercent = 3;

}  // namespace

int SetLineSpeed(int fd, int baud) {
  if (baud <= 0) {
    return EINVAL;
  }
  termios2 settings{};
  if (ioctl(fd, TCGETS2, &settings) != 0) {
    return errno;
  }
  settings.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
  settings.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
  settings.c_ispeed = static_cast<speed_t>(baud);
  settings.c_ospeed = static_cast<speed_t>(baud);
  if (ioctl(fd, TCSETS2, &settings) != 0) {
    return errno;
  }
  // The driver reports the rate its divider actually makes.
  const int applied = LineSpeed(fd);
  if (applied < 0) {
    return errno;
  }
  const long off = std::labs(static_cast<long>(applied) - baud);
  return off * 100 > static_cast<long>(baud) * kTolerancePercent ? ERANGE : 0;
}

int LineSpeed(int fd) {
  termios2 settings{};
  if (ioctl(fd, TCGETS2, &settings) != 0) {
    return -1;
  }
  return static_cast<int>(settings.c_ospeed);
}

}  // namespace velmar
