// What velmar-cli does with a damaged database entry and a file that is no setup file: it says
// so and exits 1.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/temp_folder.h"
#include "child_process.h"
#include "damaged_database.h"
#include "support/file_bytes.h"

namespace velmar::test {
namespace {

namespace fs = std::filesystem;

TEST(DbIntegrityCli, DamagedEntriesAndFilesWithoutSetupKeysFailWithTheirMessage) {
  TempFolder work;
  ASSERT_TRUE(work.Valid());
  const std::string damaged = DamagedDatabase(work.Path(), "1045210-001.cfg").string();
  const std::string damagedText =
      "Program Error: Configuration database entry 1045210-001.cfg is damaged.\n";
  WriteBytes(work.Path() / "good.cfg", "SPAN = 5.9\r\nMAXVEL = 6\r\n");
  WriteBytes(work.Path() / "ranges.cfg", "SPAN = 5.9\r\nMAXVEL = 11\r\nSTROKETBL03 = 0.7\r\n");
  WriteBytes(work.Path() / "faults.cfg", "P5V_HI_LIM = 5.5\r\n");
  const std::string noKey =
      "File Error: Error opening actuator setup file.\nFile: faults.cfg\nReason: no setup "
      "parameters found\n";
  const struct {
    std::vector<std::string> words;
    int status;
    std::string out;  // "*": anything
    std::string err;
  } cases[] = {
      {{"--db", damaged, "db", "setup", "1045210-001"}, 1, "", damagedText},
      {{"--db", damaged, "db", "extract", "1045210-001.cfg", "--out", "."}, 1, "", damagedText},
      {{"--db", damaged, "db", "setup", "1045210-002"}, 0, "*", ""},
      {{"--db", damaged, "db", "list"}, 0, "*", ""},
      {{"setup", "check", "good.cfg"},
       0,
       "good.cfg: every value passes the setup pages' checks.\n",
       ""},
      {{"setup", "check", "ranges.cfg"},
       1,
       "STROKETBL03 = 0.7: Enter a number between 0.7376 and 5.9.\n"
       "MAXVEL = 11: Enter an integer between 1 and 10.\n",
       ""},
      {{"setup", "check", "faults.cfg"}, 1, "", noKey},
      {{"setup", "show", "faults.cfg"}, 1, "", noKey},
  };
  for (const auto& c : cases) {
    std::vector<std::string> argv = {VELMAR_CLI_PATH};
    argv.insert(argv.end(), c.words.begin(), c.words.end());
    const RunResult result = RunProgram(argv, work.Path().string());
    SCOPED_TRACE(c.words[c.words.size() - 2] + " " + c.words.back());
    EXPECT_EQ(result.status, c.status);
    if (c.out != "*") {
      EXPECT_EQ(result.out, c.out);
    }
    EXPECT_EQ(result.err, c.err);
  }
  EXPECT_FALSE(fs::exists(work.Path() / "1045210-001.cfg"));
}

}  // namespace
}  // namespace velmar::test
