#include "sim_memory.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace velmar::test {
namespace {

namespace fs = std::filesystem;

class SimMemoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/velmar-sim-memory-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  void WriteFile(const std::string& path, size_t size, char fill) {
    std::ofstream(path, std::ios::binary) << std::string(size, fill);
  }

  fs::path dir_;
};

TEST_F(SimMemoryTest, IdentificationIsStoredTwoCharactersPerWordLowByteFirst) {
  SimMemory memory;
  memory.SetSerialNumber(0x00012345);
  memory.SetModelNumber("ABC");
  memory.SetPartNumber("0123456789ABCDEFG");
  EXPECT_EQ(memory.Word(4), 0x2345);
  EXPECT_EQ(memory.Word(5), 0x0001);
  EXPECT_EQ(memory.Word(6), 0x4241);
  EXPECT_EQ(memory.Word(7), 0x0043);
  EXPECT_EQ(memory.Word(11), 0x0000);
  EXPECT_EQ(memory.Word(12), 0x3130);
  EXPECT_EQ(memory.Word(19), 0x4645);
  EXPECT_EQ(memory.Word(20), 0x0000);
  EXPECT_EQ(memory.SerialNumber(), 0x00012345u);
  EXPECT_EQ(memory.ModelNumber(), "ABC");
  EXPECT_EQ(memory.PartNumber(), "0123456789ABCDEF");
}

TEST_F(SimMemoryTest, SavedImageLoadsBackAndReplacesTheOldFile) {
  const std::string path = dir_ / "memory.bin";
  WriteFile(path, 8192, '\x11');
  SimMemory memory;
  memory.SetWord(0, 0xBEEF);
  memory.SetWord(0xFFF, 0x1234);
  std::string error;
  ASSERT_TRUE(memory.Save(path, error)) << error;
  EXPECT_EQ(fs::file_size(path), 8192u);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);

  std::ifstream in(path, std::ios::binary);
  EXPECT_EQ(in.get(), 0xEF);
  EXPECT_EQ(in.get(), 0xBE);

  SimMemory loaded;
  ASSERT_TRUE(loaded.Load(path, error)) << error;
  EXPECT_EQ(loaded.Word(0), 0xBEEF);
  EXPECT_EQ(loaded.Word(0xFFF), 0x1234);
  EXPECT_EQ(loaded.Word(0x108 + 1), 0xFFFF);
}

TEST_F(SimMemoryTest, BadFilesLeaveTheMemoryAlone) {
  struct Case {
    const char* name;
    size_t size;  // 0: no file at all
  };
  const Case cases[] = {{"missing", 0}, {"short", 8191}, {"long", 8193}, {"empty", 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir_ / c.name;
    if (c.size > 0) {
      WriteFile(path, c.size == 1 ? 0 : c.size, '\x22');
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

TEST_F(SimMemoryTest, SaveIntoAMissingFolderFailsCleanly) {
  SimMemory memory;
  std::string error;
  EXPECT_FALSE(memory.Save((dir_ / "none" / "memory.bin").string(), error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace velmar::test
