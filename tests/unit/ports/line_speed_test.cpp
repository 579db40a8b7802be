#include "ports/line_speed.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>

namespace velmar::test {
namespace {

// A pty takes any rate, so every rate the settings accept (28800 among them, which has no
// classic constant) must come back from the line as set.
TEST(LineSpeed, EveryAcceptedRateReachesTheLine) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_TRUE(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
  const int line = open(ptsname(master), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(line, 0);
  const struct {
    int baud;
    int error;
  } cases[] = {
      {9600, 0},  {19200, 0},  {28800, 0},  {38400, 0},
      {57600, 0}, {115200, 0}, {0, EINVAL}, {-19200, EINVAL},
  };
  int running = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.baud);
    EXPECT_EQ(SetLineSpeed(line, c.baud), c.error);
    running = c.error == 0 ? c.baud : running;
    EXPECT_EQ(LineSpeed(line), running) << "a refused rate leaves the line as it was";
  }
  close(line);
  EXPECT_EQ(SetLineSpeed(line, 19200), EBADF);
  EXPECT_EQ(LineSpeed(line), -1);
  close(master);
}

}  // namespace
}  // namespace velmar::test
