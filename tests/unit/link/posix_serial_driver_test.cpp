#include "link/posix_serial_driver.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

namespace velmar {
namespace {

// A pseudo-terminal pair: the test plays the actuator on the master side.
class PtyPair {
 public:
  PtyPair() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0) {
      const char* name = ptsname(master_);
      slavePath_ = name != nullptr ? name : "";
    }
  }
  ~PtyPair() {
    if (master_ >= 0) {
      close(master_);
    }
  }
  int master() const { return master_; }
  const std::string& slavePath() const { return slavePath_; }

 private:
  int master_ = -1;
  std::string slavePath_;
};

// Waits (in real time, briefly) until `count` bytes are waiting on the driver side.
int WaitForCount(PosixSerialDriver& driver, int count) {
  int waiting = 0;
  for (int i = 0; i < 200 && waiting < count; ++i) {
    waiting = driver.ReceiveCount(0);
    if (waiting < count) {
      usleep(5000);
    }
  }
  return waiting;
}

TEST(PosixSerialDriverTest, ExchangesBytesOverAPty) {
  PtyPair pty;
  ASSERT_FALSE(pty.slavePath().empty());
  PosixSerialDriver driver;
  driver.SetDeviceOverride(pty.slavePath());
  ASSERT_EQ(driver.Open(0, 2048, 512), 0) << driver.LastError();
  EXPECT_EQ(driver.SetBaud(0, 19200), 0);
  EXPECT_EQ(driver.SetBaud(0, 12345), -12);
  driver.SetOutputA(0, 'S');  // a pty has no modem lines; must not disturb anything
  driver.SetOutputB(0, 'C');
  EXPECT_EQ(driver.ReceiveCount(0), 0);

  const uint8_t reply[] = {0x01, 0x06, 0x05, 0x92, 0x63, 0x0A, 0x0D, 0x00};
  ASSERT_EQ(write(pty.master(), reply, sizeof reply), static_cast<ssize_t>(sizeof reply));
  ASSERT_EQ(WaitForCount(driver, 8), 8);
  uint8_t buffer[80] = {};
  EXPECT_EQ(driver.Read(0, buffer, 3), 3);
  EXPECT_EQ(driver.Read(0, buffer + 3, 80), 5);
  EXPECT_EQ(std::string(buffer, buffer + 8), std::string(reply, reply + 8)) << "raw, untranslated";
  EXPECT_EQ(driver.Read(0, buffer, 80), 0) << "nothing waiting does not block";

  const uint8_t request[] = {0x01, 0x10, 0x04, 0x15};
  EXPECT_EQ(driver.Write(0, request, 4), 4);
  pollfd ready{pty.master(), POLLIN, 0};
  ASSERT_EQ(poll(&ready, 1, 1000), 1);
  uint8_t received[8] = {};
  EXPECT_EQ(read(pty.master(), received, sizeof received), 4);
  EXPECT_EQ(std::string(received, received + 4), std::string(request, request + 4));

  ASSERT_EQ(write(pty.master(), reply, 4), 4);
  ASSERT_EQ(WaitForCount(driver, 4), 4);
  EXPECT_EQ(driver.DropReceived(0), 0);
  EXPECT_EQ(driver.ReceiveCount(0), 0);

  EXPECT_EQ(driver.Close(0), 0);
  EXPECT_LT(driver.ReceiveCount(0), 0);
  EXPECT_LT(driver.Write(0, request, 4), 0);
}

TEST(PosixSerialDriverTest, ADeviceInUseDoesNotOpenAgain) {
  PtyPair pty;
  ASSERT_FALSE(pty.slavePath().empty());
  PosixSerialDriver first;
  PosixSerialDriver second;
  first.SetDeviceOverride(pty.slavePath());
  second.SetDeviceOverride(pty.slavePath());
  ASSERT_EQ(first.Open(0, 2048, 512), 0);
  EXPECT_EQ(first.Open(0, 2048, 512), -4) << "already open at this index";
  EXPECT_EQ(first.Open(1, 2048, 512), -4) << "the same device at another index";
  EXPECT_EQ(second.Open(0, 2048, 512), -4);
  EXPECT_EQ(second.LastError(), "Device or resource busy");

  const int outsider = open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  EXPECT_TRUE(outsider < 0 || geteuid() == 0) << "exclusive mode keeps other programs out";
  if (outsider >= 0) {
    close(outsider);
  }

  first.Close(0);
  EXPECT_EQ(second.Open(0, 2048, 512), 0) << second.LastError();
  EXPECT_EQ(second.LastError(), "");
}

TEST(PosixSerialDriverTest, ADeviceHeldExclusivelyByAnotherProgramIsBusy) {
  PtyPair pty;
  ASSERT_FALSE(pty.slavePath().empty());
  const int other = open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(other, 0);
  ASSERT_EQ(ioctl(other, TIOCEXCL), 0);
  PosixSerialDriver driver;
  driver.SetDeviceOverride(pty.slavePath());
  EXPECT_EQ(driver.Open(0, 2048, 512), -4);
  EXPECT_EQ(driver.LastError(), "Device or resource busy");
  ioctl(other, TIOCNXCL);
  close(other);
  EXPECT_EQ(driver.Open(0, 2048, 512), 0) << driver.LastError();
}

TEST(PosixSerialDriverTest, MissingDeviceFailsWithTheReason) {
  PosixSerialDriver driver;
  driver.SetDeviceOverride("/nonexistent/velmar-tty");
  EXPECT_EQ(driver.Open(0, 2048, 512), -2);
  EXPECT_EQ(driver.LastError(), "No such file or directory");
  EXPECT_EQ(driver.Open(-1, 2048, 512), -2);
}

TEST(PosixSerialDriverTest, ComPortsMapToDevices) {
  PosixSerialDriver driver;
  unsetenv("VELMAR_COM3");
  EXPECT_EQ(driver.DevicePath(2), "/dev/ttyS2");
  setenv("VELMAR_COM3", "/tmp/velmar-com3", 1);
  EXPECT_EQ(driver.DevicePath(2), "/tmp/velmar-com3");
  EXPECT_EQ(driver.DevicePath(0), "/dev/ttyS0");
  driver.SetDeviceOverride("/dev/pts/9");
  EXPECT_EQ(driver.DevicePath(2), "/dev/pts/9");
  EXPECT_EQ(driver.DevicePath(0), "/dev/pts/9");
  unsetenv("VELMAR_COM3");
}

}  // namespace
}  // namespace velmar
