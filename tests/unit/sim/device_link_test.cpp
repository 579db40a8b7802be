#include "device_link.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/temp_folder.h"

namespace velmar::test {
namespace {

namespace fs = std::filesystem;

TEST(DeviceLinkTest, ReplacesOnlyLinksAndRemovesOnlyItsOwn) {
  const TempFolder dir;
  const std::string link = dir.Path() / "ttyV0", file = dir.Path() / "file";
  std::string error;
  ASSERT_TRUE(CreateDeviceLink("/dev/pts/98", link, error)) << error;
  ASSERT_TRUE(CreateDeviceLink("/dev/pts/99", link, error)) << error;
  EXPECT_EQ(fs::read_symlink(link), "/dev/pts/99");
  RemoveDeviceLink("/dev/pts/98", link);
  EXPECT_TRUE(fs::is_symlink(link));
  RemoveDeviceLink("/dev/pts/99", link);
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));

  std::ofstream(file) << "keep";
  EXPECT_FALSE(CreateDeviceLink("/dev/pts/99", file, error));
  EXPECT_TRUE(fs::is_regular_file(file));
}

}  // namespace
}  // namespace velmar::test
