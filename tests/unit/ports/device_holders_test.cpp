#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/temp_folder.h"
#include "ports/device_open_failure.h"

namespace velmar {
namespace {

namespace fs = std::filesystem;

// A /proc of a few processes whose descriptors point at the device, at other files or nowhere.
TEST(DeviceHoldersTest, FindsOtherProcessesWithADescriptorOnTheDevice) {
  TempFolder proc;
  TempFolder devices;
  ASSERT_TRUE(proc.Valid() && devices.Valid());
  const fs::path device = devices.Path() / "ttyUSB0";
  const fs::path other = devices.Path() / "ttyUSB1";
  std::ofstream(device).put('x');
  std::ofstream(other).put('x');
  fs::create_symlink(device, devices.Path() / "by-id");
  const struct {
    std::string pid;
    std::string name;
    std::vector<fs::path> descriptors;
  } processes[] = {
      {"101", "minicom", {other, device}},
      {"102", "bash", {other}},
      {std::to_string(getpid()), "velmar", {device}},  // this process is not its own obstacle
      {"self", "velmar", {device}},                    // not a process folder
      {"103", "screen", {device, device}},
      {"104", "gone", {}},
  };
  for (const auto& process : processes) {
    const fs::path folder = proc.Path() / process.pid;
    fs::create_directories(folder / "fd");
    std::ofstream(folder / "comm") << process.name << "\n";
    for (size_t fd = 0; fd < process.descriptors.size(); ++fd) {
      fs::create_symlink(process.descriptors[fd], folder / "fd" / std::to_string(fd));
    }
  }
  fs::remove_all(proc.Path() / "104" / "fd");

  std::vector<std::string> holders =
      DeviceHolders((devices.Path() / "by-id").string(), proc.Path().string());
  std::sort(holders.begin(), holders.end());
  EXPECT_EQ(holders, (std::vector<std::string>{"101 (minicom)", "103 (screen)"}));
  EXPECT_TRUE(DeviceHolders((devices.Path() / "missing").string(), proc.Path().string()).empty());
  EXPECT_TRUE(DeviceHolders(device.string(), (proc.Path() / "none").string()).empty());
}

}  // namespace
}  // namespace velmar
