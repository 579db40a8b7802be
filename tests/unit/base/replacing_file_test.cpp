#include "base/replacing_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "base/temp_folder.h"

namespace velmar {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Writes `bytes` as the whole file; the reason of the first failure in `error`.
bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string& error) {
  ReplacingFile file;
  const bool written = file.Open(path) && file.Write(bytes) && file.Commit();
  error = file.Error() != 0 ? std::strerror(file.Error()) : "";
  return written;
}

bool IsCharacterDevice(const char* path) {
  struct stat info {};
  return stat(path, &info) == 0 && S_ISCHR(info.st_mode);
}

// Where a report may be sent, and what each target ends with: a full device fails with its
// reason and stays a device; an old file survives a failed write untouched.
TEST(ReplacingFile, EveryTargetEndsWrittenOrFailsWithItsReason) {
  TempFolder folder;
  ASSERT_TRUE(folder.Valid());
  const fs::path old = folder.Path() / "old.rpt";
  std::ofstream(old) << "earlier report";
  fs::create_directory(folder.Path() / "folder");
  const struct {
    std::string path;
    bool written;
    std::string error;
  } cases[] = {
      {(folder.Path() / "new.rpt").string(), true, ""},
      {old.string(), true, ""},
      {"/dev/null", true, ""},
      {"/dev/full", false, "No space left on device"},
      {(folder.Path() / "missing" / "x.rpt").string(), false, "No such file or directory"},
      {(folder.Path() / "folder").string(), false, "Is a directory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    std::string error;
    EXPECT_EQ(WriteWholeFile(c.path, "report\r\n", error), c.written);
    EXPECT_EQ(error, c.error);
    if (c.written && c.path.rfind("/dev/", 0) != 0) {
      EXPECT_EQ(ReadText(c.path), "report\r\n");
    }
  }
  EXPECT_TRUE(IsCharacterDevice("/dev/full"));
  EXPECT_TRUE(IsCharacterDevice("/dev/null"));
  // No temporary file is left behind by the failures.
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.Path())) {
    ++entries;
  }
  EXPECT_EQ(entries, 3);  // old.rpt, new.rpt, folder
}

// A pipe (standard output redirected, for one) takes the report in place.
TEST(ReplacingFile, APipeIsWrittenInPlace) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  const std::string path = "/proc/self/fd/" + std::to_string(ends[1]);
  std::string error;
  EXPECT_TRUE(WriteWholeFile(path, "line\n", error)) << error;
  char buffer[16] = {};
  EXPECT_EQ(read(ends[0], buffer, sizeof buffer), 5);
  EXPECT_EQ(std::string(buffer), "line\n");
  close(ends[0]);
  close(ends[1]);
}

}  // namespace
}  // namespace velmar
