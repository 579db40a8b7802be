#include "ports/posix_serial_driver.h"

#include <errno.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "base/temp_folder.h"
#include "support/frame_literals.h"

namespace velmar::test {
namespace {

// A pseudo-terminal pair: the test plays the actuator on the master side.
class PosixSerialDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0);
    slave_ = ptsname(master_);
    driver_.SetDeviceOverride(slave_);
  }
  void TearDown() override {
    if (master_ >= 0) {
      close(master_);
    }
  }

  // Sends `bytes` from the actuator side and waits (in real time, briefly) until the driver has
  // them all; the count it has.
  int Arrive(const Bytes& bytes) {
    const int count = static_cast<int>(bytes.size());
    EXPECT_EQ(write(master_, bytes.data(), count), count);
    int waiting = 0;
    for (int i = 0; i < 200 && (waiting = driver_.ReceiveCount(0)) < count; ++i) {
      usleep(5000);
    }
    return waiting;
  }

  int master_ = -1;
  std::string slave_;
  PosixSerialDriver driver_;
};

TEST_F(PosixSerialDriverTest, ExchangesRawBytesOverAPty) {
  ASSERT_EQ(driver_.Open(0, 2048, 512), 0) << driver_.LastError();
  EXPECT_EQ(driver_.SetBaud(0, 19200), 0);
  EXPECT_EQ(driver_.SetBaud(0, 28800), 0) << "a settings rate without a classic constant";
  EXPECT_EQ(driver_.SetBaud(0, 0), -12);
  driver_.SetOutputA(0, 'S');  // a pty has no modem lines; must not disturb anything

  const Bytes reply = Hex("01 06 05 92 63 0A 0D 00");
  ASSERT_EQ(Arrive(reply), 8);
  uint8_t buffer[80] = {};
  EXPECT_EQ(driver_.Read(0, buffer, 3), 3);
  EXPECT_EQ(driver_.Read(0, buffer + 3, 80), 5);
  EXPECT_EQ(Bytes(buffer, buffer + 8), reply) << "untranslated";
  EXPECT_EQ(driver_.Read(0, buffer, 80), 0) << "nothing waiting does not block";

  EXPECT_EQ(driver_.Write(0, reply.data(), 4), 4);
  pollfd ready{master_, POLLIN, 0};
  ASSERT_EQ(poll(&ready, 1, 1000), 1);
  EXPECT_EQ(read(master_, buffer, sizeof buffer), 4);
  EXPECT_EQ(Bytes(buffer, buffer + 4), Bytes(reply.begin(), reply.begin() + 4));

  ASSERT_EQ(Arrive(Hex("01 06 05 92")), 4);
  EXPECT_EQ(driver_.DropReceived(0), 0);
  EXPECT_EQ(driver_.ReceiveCount(0), 0);
  EXPECT_EQ(driver_.Close(0), 0);
  EXPECT_LT(driver_.ReceiveCount(0), 0);
  EXPECT_LT(driver_.Write(0, reply.data(), 4), 0);
}

TEST_F(PosixSerialDriverTest, ADeviceInUseDoesNotOpenAgain) {
  PosixSerialDriver second;
  second.SetDeviceOverride(slave_);
  ASSERT_EQ(driver_.Open(0, 2048, 512), 0);
  // Exclusive mode keeps other programs out; root passes it, but sees the device is exclusive.
  const int outsider = open(slave_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  int exclusive = 0;
  EXPECT_TRUE(outsider < 0 ? errno == EBUSY
                           : ioctl(outsider, TIOCGEXCL, &exclusive) == 0 && exclusive == 1);
  close(outsider);
  EXPECT_EQ(driver_.Open(0, 2048, 512), -4) << "already open at this index";
  EXPECT_EQ(driver_.Open(1, 2048, 512), -4) << "the same device at another index";
  EXPECT_EQ(second.Open(0, 2048, 512), -4);
  EXPECT_EQ(
      second.LastError().rfind("Device: " + slave_ + "\nReason: Device or resource busy\n", 0), 0u)
      << second.LastError();
  driver_.Close(0);
  EXPECT_EQ(second.Open(0, 2048, 512), 0) << second.LastError();
  EXPECT_EQ(second.LastError(), "");
  second.Close(0);

  // Another program holding the device exclusively keeps it busy too.
  const int other = open(slave_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_EQ(ioctl(other, TIOCEXCL), 0);
  EXPECT_EQ(driver_.Open(0, 2048, 512), -4);
  close(other);
}

// The device behind a stable name goes away mid-command (the far end hangs up) and comes back
// as a new terminal: every call fails meanwhile, and the next request opens it again.
TEST_F(PosixSerialDriverTest, ADeviceThatGoesAwayFailsUntilItIsBackThenReopens) {
  TempFolder folder;
  ASSERT_TRUE(folder.Valid());
  const std::filesystem::path name = folder.Path() / "ttyVelmar";
  std::filesystem::create_symlink(slave_, name);
  driver_.SetDeviceOverride(name.string());
  ASSERT_EQ(driver_.Open(0, 2048, 512), 0) << driver_.LastError();
  ASSERT_EQ(driver_.SetBaud(0, 9600), 0);
  const Bytes request = Hex("01 10 05 9C 03");
  uint8_t buffer[80] = {};

  close(master_);
  master_ = -1;
  EXPECT_LT(driver_.ReceiveCount(0), 0);
  EXPECT_LT(driver_.Read(0, buffer, 80), 0);
  EXPECT_LT(driver_.Write(0, request.data(), 5), 0) << "the old terminal cannot be opened";

  master_ = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_TRUE(master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0);
  std::filesystem::remove(name);
  std::filesystem::create_symlink(ptsname(master_), name);
  EXPECT_EQ(driver_.Write(0, request.data(), 5), 5);
  pollfd ready{master_, POLLIN, 0};
  ASSERT_EQ(poll(&ready, 1, 1000), 1);
  EXPECT_EQ(read(master_, buffer, sizeof buffer), 5);
  EXPECT_EQ(Bytes(buffer, buffer + 5), request);
  EXPECT_EQ(Arrive(Hex("01 06 05 92 63")), 5);
  EXPECT_EQ(driver_.Close(0), 0);
}

TEST(PosixSerialDriverPathTest, ComPortsMapToDevicesAndAMissingOneFailsWithTheReason) {
  PosixSerialDriver driver;
  unsetenv("VELMAR_COM3");
  EXPECT_EQ(driver.DevicePath(2), "/dev/ttyS2");
  setenv("VELMAR_COM3", "/tmp/velmar-com3", 1);
  EXPECT_EQ(driver.DevicePath(2), "/tmp/velmar-com3");
  unsetenv("VELMAR_COM3");
  EXPECT_EQ(driver.Open(-1, 2048, 512), -2);
  driver.SetDeviceOverride("/nonexistent/velmar-tty");
  EXPECT_EQ(driver.Open(0, 2048, 512), -2);
  EXPECT_EQ(driver.LastError().rfind(
                "Device: /nonexistent/velmar-tty\nReason: No such file or directory\n", 0),
            0u)
      << driver.LastError();
}

}  // namespace
}  // namespace velmar::test
