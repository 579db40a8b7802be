#include "sim_memory.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/temp_folder.h"
#include "support/file_bytes.h"

namespace velmar::test {
namespace {

TEST(SimMemoryTest, IdentificationIsStoredTwoCharactersPerWordLowByteFirst) {
  SimMemory memory;
  memory.SetSerialNumber(0x00012345);
  memory.SetModelNumber("ABC");
  memory.SetPartNumber("0123456789ABCDEFG");
  EXPECT_EQ(
      (std::vector<uint16_t>{memory.Word(4), memory.Word(5), memory.Word(6), memory.Word(7),
                             memory.Word(11), memory.Word(12), memory.Word(19), memory.Word(20)}),
      (std::vector<uint16_t>{0x2345, 0x0001, 0x4241, 0x0043, 0, 0x3130, 0x4645, 0}));
  EXPECT_EQ(memory.PartNumber(), "0123456789ABCDEF");
}

TEST(SimMemoryTest, SavedImageLoadsBackAndReplacesTheOldFile) {
  const TempFolder dir;
  const std::string path = dir.Path() / "memory.bin";
  WriteBytes(path, std::string(8192, '\x11'));
  SimMemory memory;
  memory.SetWord(0, 0xBEEF);
  memory.SetWord(0xFFF, 0x1234);
  std::string error;
  ASSERT_TRUE(memory.Save(path, error)) << error;
  EXPECT_EQ(EntryCount(dir.Path()), 1);
  EXPECT_EQ(ReadBytes(path).substr(0, 2), "\xEF\xBE");

  SimMemory loaded;
  ASSERT_TRUE(loaded.Load(path, error)) << error;
  EXPECT_EQ(loaded.Word(0), 0xBEEF);
  EXPECT_EQ(loaded.Word(0xFFF), 0x1234);
  EXPECT_EQ(loaded.Word(0x109), loaded.Word(0x108) ^ 0xFFFF);
  error.clear();
  EXPECT_FALSE(memory.Save((dir.Path() / "none" / "memory.bin").string(), error));
  EXPECT_FALSE(error.empty());
}

TEST(SimMemoryTest, BadFilesLeaveTheMemoryAlone) {
  const TempFolder dir;
  for (const int size : {-1, 0, 8191, 8193}) {  // -1: no file at all
    SCOPED_TRACE(size);
    const std::string path = dir.Path() / std::to_string(size);
    if (size >= 0) {
      WriteBytes(path, std::string(size, '\x22'));
    }
    SimMemory memory;
    memory.SetWord(3, 0x7777);
    std::string error;
    EXPECT_FALSE(memory.Load(path, error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_EQ(memory.Word(3), 0x7777);
    EXPECT_EQ(memory.Word(4), 0);
  }
}

}  // namespace
}  // namespace velmar::test
