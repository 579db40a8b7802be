#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "device_link.h"

namespace velmar::test {
namespace {

namespace fs = std::filesystem;

TEST(DeviceLinkTest, ReplacesOnlyLinksAndRemovesOnlyItsOwn) {
  char pattern[] = "/tmp/velmar-sim-link-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const fs::path dir = pattern;
  const std::string link = dir / "ttyV0";
  std::string error;
  ASSERT_TRUE(CreateDeviceLink("/dev/pts/98", link, error)) << error;
  ASSERT_TRUE(CreateDeviceLink("/dev/pts/99", link, error)) << error;
  EXPECT_EQ(fs::read_symlink(link), "/dev/pts/99");
  RemoveDeviceLink("/dev/pts/98", link);
  EXPECT_TRUE(fs::is_symlink(link));
  RemoveDeviceLink("/dev/pts/99", link);
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));

  const std::string file = dir / "file";
  std::ofstream(file) << "keep";
  EXPECT_FALSE(CreateDeviceLink("/dev/pts/99", file, error));
  EXPECT_TRUE(fs::is_regular_file(file));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace velmar::test
