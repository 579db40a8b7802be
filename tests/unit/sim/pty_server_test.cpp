#include "pty_server.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "device_link.h"
#include "sim_test_helpers.h"

namespace velmar::test {
namespace {

// Reads until `count` bytes came or a second passed.
Bytes ReadReply(int fd, size_t count) {
  Bytes reply;
  while (reply.size() < count) {
    pollfd descriptor{fd, POLLIN, 0};
    if (poll(&descriptor, 1, 1000) <= 0) {
      break;
    }
    uint8_t buffer[64];
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got <= 0) {
      break;
    }
    reply.insert(reply.end(), buffer, buffer + got);
  }
  return reply;
}

TEST(PtyServerTest, ServesAClientOnTheDeviceByteForByte) {
  PtyServer server;
  std::string error;
  ASSERT_TRUE(server.Open(error)) << error;
  SimulatedActuator actuator;
  // 0x0D and 0x0A must cross unchanged: raw mode.
  actuator.State().firmwareMajor = 0x0D;
  std::atomic<bool> stop{false};
  bool served = false;
  std::thread thread([&] { served = server.Serve(actuator, stop, nullptr, error); });

  const int fd = open(server.DevicePath().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(ioctl(fd, TIOCEXCL), 0);
  const Bytes request{0x01, 0x10, 0x05, 0x9C, 0x03};
  ASSERT_EQ(write(fd, request.data(), request.size()), 5);
  EXPECT_EQ(ReadReply(fd, 7), WithCrc({0x01, 0x10, 0x07, 0x0D, 0x0A}));
  close(fd);

  stop = true;
  thread.join();
  EXPECT_TRUE(served) << error;
}

TEST(PtyServerTest, DeviceLinkReplacesOnlyLinks) {
  char pattern[] = "/tmp/velmar-sim-link-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::filesystem::path dir = pattern;
  const std::string link = dir / "ttyV0";
  std::string error;
  ASSERT_TRUE(CreateDeviceLink("/dev/pts/98", link, error)) << error;
  ASSERT_TRUE(CreateDeviceLink("/dev/pts/99", link, error)) << error;
  EXPECT_EQ(std::filesystem::read_symlink(link), "/dev/pts/99");
  RemoveDeviceLink("/dev/pts/98", link);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  RemoveDeviceLink("/dev/pts/99", link);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));

  const std::string file = dir / "file";
  std::ofstream(file) << "keep";
  EXPECT_FALSE(CreateDeviceLink("/dev/pts/99", file, error));
  EXPECT_TRUE(std::filesystem::is_regular_file(file));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace velmar::test
