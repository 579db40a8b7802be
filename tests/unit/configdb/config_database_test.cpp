#include "configdb/config_database.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "base/little_endian.h"
#include "base/temp_folder.h"
#include "configdb/archive_format.h"
#include "configdb/archive_keystream.h"
#include "configdb/archive_writer.h"
#include "support/file_bytes.h"

namespace velmar {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

class ConfigDatabaseTest : public ::testing::Test {
 protected:
  static Bytes Text(std::string_view text) { return Bytes(text.begin(), text.end()); }
  static Bytes ReadAll(const fs::path& path) {
    const std::string bytes = test::ReadBytes(path);
    return Bytes(bytes.begin(), bytes.end());
  }
  static Bytes Pack(const std::vector<ArchiveSource>& sources, const ArchiveOptions& options = {}) {
    Bytes archive;
    std::string error;
    EXPECT_TRUE(BuildArchive(sources, options, archive, error)) << error;
    return archive;
  }
  // A one-entry archive written by hand, for names and sizes the writer refuses to produce.
  static Bytes RawArchive(const std::string& name, const Bytes& data, std::uint8_t flags = 0) {
    Bytes archive = {1, 0, 0, 0, static_cast<std::uint8_t>(name.size() + 1), 0};
    AppendLe32(archive, static_cast<std::uint32_t>(data.size()));
    archive.insert(archive.end(), {0, 0, 0, 0, 0, 0, flags, 0});  // unused word, time stamp
    archive.insert(archive.end(), name.c_str(), name.c_str() + name.size() + 1);
    archive.insert(archive.end(), data.begin(), data.end());
    archive.insert(archive.end(), {0, 0});
    return archive;
  }
  static Bytes WithLe32At(Bytes archive, std::size_t offset, std::uint32_t value) {
    WriteLe32(archive.data() + offset, value);
    return archive;
  }
  fs::path Write(const Bytes& archive) {
    test::WriteBytes(archiveFolder.Path() / "config.db",
                     std::string(archive.begin(), archive.end()));
    return archiveFolder.Path() / "config.db";
  }

  TempFolder archiveFolder;
  TempFolder out;
  ConfigDatabase database;
};

TEST_F(ConfigDatabaseTest, EveryFlagCombinationReadsBackByteForByte) {
  Bytes noise(70000);  // LZO expands it
  std::generate(noise.begin(), noise.end(), std::minstd_rand());
  const std::vector<ArchiveSource> sources = {
      {"Configurations.cfg", Text("1045210-001 5000000-000 Demo, 2.00 3.10\r\n"),
       0x09790000u | 630u},
      {"empty.cfg", {}, 0x01640000u | 0x1000u},
      {"repeated.cfg", Bytes(5000, 'A'), 0x1F7AC000u | 1439u},
      {"noise.bin", noise, 0x0F7B6000u}};
  for (const bool compress : {false, true}) {
    for (const std::string password : {"", "7Q5HaPv"}) {
      const fs::path archive = Write(Pack(sources, {compress, password}));
      for (const ArchiveSource& source : sources) {
        SCOPED_TRACE(source.name + " compress " + std::to_string(compress) + " " + password);
        ASSERT_EQ(database.Extract(archive, source.name, password, out.Path()),
                  ExtractResult::kDone);
        EXPECT_EQ(ReadAll(out.Path() / source.name), source.data);
        struct stat status {};
        ASSERT_EQ(::stat((out.Path() / source.name).c_str(), &status), 0);
        EXPECT_EQ(status.st_mtime, ArchiveTimestampToTime(source.timestamp));
        EXPECT_EQ(database.entry.flags,
                  (compress ? kEntryCompressed : 0) | (password.empty() ? 0 : kEntryEnciphered));
      }
    }
  }
}

TEST_F(ConfigDatabaseTest, LookupIgnoresCaseAndExtractionReplacesAFileOrGivesItsCode) {
  const fs::path archive = Write(
      Pack({{"First.cfg", Text("one"), 0}, {"Configurations.cfg", Text("two"), 0}}, {true, "pw"}));
  ASSERT_EQ(database.FindEntry(archive, "configurations.CFG"), FindResult::kFound);
  EXPECT_EQ(database.entry.name, "Configurations.cfg");
  const fs::path missing = archiveFolder.Path() / "missing.db";
  EXPECT_EQ(database.FindEntry(missing, "a.cfg"), FindResult::kCannotOpenArchive);
  EXPECT_EQ(database.Extract(missing, "a.cfg", "pw", out.Path()),
            ExtractResult::kCannotOpenArchive);
  EXPECT_EQ(database.Extract(archiveFolder.Path(), "a.cfg", "pw", out.Path()),
            ExtractResult::kCannotOpenArchive);
  EXPECT_EQ(database.Extract(archive, "first.cfg", "", out.Path()), ExtractResult::kNoPassword);
  EXPECT_EQ(database.Extract(archive, "first.cfg", "pw", out.Path() / "gone"),
            ExtractResult::kCannotCreateOutput);
  EXPECT_EQ(test::EntryCount(out.Path()), 0);
  std::ofstream(out.Path() / "configurations.cfg") << "old contents";
  ASSERT_EQ(database.Extract(archive, "configurations.cfg", "pw", out.Path()),
            ExtractResult::kDone);
  EXPECT_EQ(ReadAll(out.Path() / "configurations.cfg"), Text("two"));
  EXPECT_EQ(test::EntryCount(out.Path()), 1);
}

TEST(ArchiveTimestampTest, GivesLocalWallClockTime) {
  const std::uint32_t stamp = (9u << 24) | (121u << 16) | (3u << 12) | 630u;
  const std::time_t time = ArchiveTimestampToTime(stamp);
  std::tm local{};
  localtime_r(&time, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  EXPECT_STREQ(text, "2021-03-09 10:30:00");
  EXPECT_EQ(PackArchiveTimestamp(time), stamp);
}

TEST(ArchiveKeystreamTest, BlocksAreTheRunningCrcOfThePassword) {
  // CRC-16/ARC of "123456789" is 0xBB3D; the second block carries the register on.
  Bytes data(36, 0);
  ArchiveKeystream("123456789").Apply(data);
  EXPECT_EQ((Bytes{data[0], data[1], data[16], data[17], data[34], data[35]}),
            (Bytes{0xC1, 0xD4, 0x3D, 0xBB, 0x7B, 0xED}));
}

TEST_F(ConfigDatabaseTest, MalformedArchivesAreRefusedWithoutLeavingAFile) {
  struct Case {
    const char* name;
    Bytes archive;
    FindResult find;
    ExtractResult extract;
    std::string entry = "a.cfg";
  };
  const std::size_t dataAt = kArchiveHeaderSize + kEntryFixedHeaderSize + sizeof("a.cfg");
  const Bytes text = Text("SPAN = 4.5\r\nMAXVEL = 6\r\nMAXVEL = 6\r\nMAXVEL = 6\r\n");
  // Without a manifest, so the entry comes first and its own checks are reached.
  const Bytes packed = Pack({{"a.cfg", text, 0}}, {true, "pw", false});
  const Bytes plain = Pack({{"a.cfg", text, 0}}, {false, "", false});
  Bytes garbage = packed;
  std::fill(garbage.begin() + static_cast<long>(dataAt + 4), garbage.end() - 2, 0xFF);
  const Bytes streamStart(packed.begin() + static_cast<long>(dataAt),
                          packed.begin() + static_cast<long>(dataAt + 9));
  const std::string tooLong(kMaxEntryNameLength, 'n');
  const FindResult found = FindResult::kFound, findError = FindResult::kReadError;
  const ExtractResult readError = ExtractResult::kReadWriteError,
                      corrupt = ExtractResult::kCorruptData;
  std::vector<Case> cases = {
      {"empty archive", {0, 0}, FindResult::kEmptyArchive, ExtractResult::kEmptyArchive},
      {"no entries", Pack({}), FindResult::kNotFound, ExtractResult::kNotFound},
      {"stored size past the end", WithLe32At(plain, 6, text.size() + 3), findError, readError},
      {"stored size 4 GiB", WithLe32At(plain, 6, 0xFFFFFFFFu), findError, readError},
      {"original over 16 MiB", WithLe32At(packed, dataAt, kMaxEntrySize + 1), found,
       ExtractResult::kNoMemory},
      {"original too small", WithLe32At(packed, dataAt, 10), found, corrupt},
      {"original too large", WithLe32At(packed, dataAt, text.size() + 10), found, corrupt},
      {"corrupt stream", garbage, found, corrupt},
      {"stream cut short", RawArchive("a.cfg", streamStart, kEntryCompressed | kEntryEnciphered),
       found, corrupt},
      {"shorter than its prefix", RawArchive("a.cfg", Text("ab"), kEntryCompressed), findError,
       corrupt},
      {"name over 130 bytes", RawArchive(tooLong, text), findError, readError}};
  // Names the writer refuses to store, saying why, as the reader refuses to write them out.
  Bytes refused;
  std::string error;
  EXPECT_TRUE(BuildArchive({{tooLong.substr(1), {'x'}, 0}}, {}, refused, error));
  EXPECT_FALSE(BuildArchive({{tooLong, {'x'}, 0}}, {}, refused, error));
  EXPECT_NE(error, "");
  for (const char* hostile : {"../a.cfg", "sub/a.cfg", "sub\\a.cfg", "..", ".", ""}) {
    EXPECT_FALSE(BuildArchive({{hostile, {'x'}, 0}}, {}, refused, error)) << hostile;
    cases.push_back({"hostile name", RawArchive(hostile, text), found,
                     ExtractResult::kCannotCreateOutput, hostile});
  }
  // Cut short anywhere before the entry's data is complete.
  for (std::size_t size = 0; size < dataAt + text.size(); ++size) {
    cases.push_back({"cut short", Bytes(plain.begin(), plain.begin() + static_cast<long>(size)),
                     findError, readError});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name + (", " + std::to_string(c.archive.size())) + " bytes, " + c.entry);
    const fs::path archive = Write(c.archive);
    EXPECT_EQ(database.FindEntry(archive, c.entry), c.find);
    EXPECT_EQ(database.Extract(archive, c.entry, "pw", out.Path()), c.extract);
    EXPECT_EQ(test::EntryCount(out.Path()), 0);
    EXPECT_EQ(test::EntryCount(archiveFolder.Path()), 1);
  }
}

}  // namespace
}  // namespace velmar
