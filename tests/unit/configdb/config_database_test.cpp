#include "configdb/config_database.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "configdb/archive_format.h"
#include "configdb/archive_keystream.h"
#include "configdb/archive_writer.h"
#include "configdb/temp_folder.h"

namespace velmar {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

Bytes Text(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

Bytes ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::size_t FileCount(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

Bytes Pack(const std::vector<ArchiveSource>& sources, const ArchiveOptions& options = {}) {
  Bytes archive;
  std::string error;
  EXPECT_TRUE(BuildArchive(sources, options, archive, error)) << error;
  return archive;
}

// A one-entry archive written by hand, for names and sizes the writer refuses to produce.
Bytes RawArchive(std::string_view name, const Bytes& data, std::uint8_t flags = 0) {
  Bytes archive = {1, 0, 0, 0, static_cast<std::uint8_t>(name.size() + 1), 0};
  AppendLe32(archive, static_cast<std::uint32_t>(data.size()));
  archive.resize(archive.size() + 6);  // unused word and time stamp
  archive.insert(archive.end(), {flags, 0});
  archive.insert(archive.end(), name.begin(), name.end());
  archive.push_back(0);
  archive.insert(archive.end(), data.begin(), data.end());
  archive.insert(archive.end(), {0, 0});
  return archive;
}

Bytes WithLe32At(Bytes archive, std::size_t offset, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) {
    archive[offset++] = static_cast<std::uint8_t>(value >> shift);
  }
  return archive;
}

class ConfigDatabaseTest : public ::testing::Test {
 protected:
  fs::path Write(const Bytes& archive) {
    const fs::path path = archiveFolder.Path() / "config.db";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(archive.data()),
               static_cast<std::streamsize>(archive.size()));
    return path;
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
        SCOPED_TRACE(testing::Message()
                     << source.name << " compress " << compress << " password " << password);
        ASSERT_EQ(database.Extract(archive, source.name, password, out.Path()), kExtractDone);
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

TEST_F(ConfigDatabaseTest, LookupIgnoresCaseAndExtractionReplacesAnExistingFile) {
  const fs::path archive =
      Write(Pack({{"First.cfg", Text("one"), 0}, {"Configurations.cfg", Text("two"), 0}}));
  ASSERT_EQ(database.FindEntry(archive, "configurations.CFG"), kFindFound);
  EXPECT_EQ(database.entry.name, "Configurations.cfg");
  std::ofstream(out.Path() / "configurations.cfg") << "old contents";
  ASSERT_EQ(database.Extract(archive, "configurations.cfg", "", out.Path()), kExtractDone);
  EXPECT_EQ(ReadAll(out.Path() / "configurations.cfg"), Text("two"));
  EXPECT_EQ(FileCount(out.Path()), 1u);
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

TEST_F(ConfigDatabaseTest, UnreadableArchivesAndOutputsGiveTheirCodes) {
  const fs::path missing = archiveFolder.Path() / "missing.db";
  EXPECT_EQ(database.FindEntry(missing, "a.cfg"), kFindCannotOpenArchive);
  EXPECT_EQ(database.Extract(missing, "a.cfg", "pw", out.Path()), kExtractCannotOpenArchive);
  EXPECT_EQ(database.Extract(archiveFolder.Path(), "a.cfg", "pw", out.Path()),
            kExtractCannotOpenArchive);
  const fs::path archive = Write(Pack({{"a.cfg", Text("data"), 0}}, {true, "pw"}));
  EXPECT_EQ(database.Extract(archive, "a.cfg", "", out.Path()), kExtractNoPassword);
  EXPECT_EQ(database.Extract(archive, "a.cfg", "pw", out.Path() / "gone"),
            kExtractCannotCreateOutput);
  EXPECT_EQ(FileCount(out.Path()), 0u);
}

TEST_F(ConfigDatabaseTest, MalformedArchivesAreRefusedWithoutLeavingAFile) {
  struct Case {
    const char* name;
    Bytes archive;
    int findResult;
    int extractResult;
    std::string entryName = "a.cfg";
  };
  const std::size_t dataOffset = kArchiveHeaderSize + kEntryFixedHeaderSize + sizeof("a.cfg");
  const Bytes text = Text("SPAN = 4.5\r\nMAXVEL = 6\r\nMAXVEL = 6\r\nMAXVEL = 6\r\n");
  const Bytes packed = Pack({{"a.cfg", text, 0}}, {true, "pw"});
  const Bytes plain = Pack({{"a.cfg", text, 0}});
  Bytes garbage = packed;
  std::fill(garbage.begin() + static_cast<long>(dataOffset + 4), garbage.end() - 2, 0xFF);
  const Bytes streamStart(packed.begin() + static_cast<long>(dataOffset),
                          packed.begin() + static_cast<long>(dataOffset + 9));
  const int readError = kExtractReadWriteError;
  std::vector<Case> cases = {
      {"empty archive", {0, 0}, kFindEmptyArchive, kExtractEmptyArchive},
      {"no entries", Pack({}), kFindNotFound, kExtractNotFound},
      {"stored size beyond the file", WithLe32At(plain, 6, text.size() + 3), kFindReadError,
       readError},
      {"stored size of 4 GiB", WithLe32At(plain, 6, 0xFFFFFFFFu), kFindReadError, readError},
      {"original size beyond 16 MiB", WithLe32At(packed, dataOffset, kMaxEntrySize + 1), kFindFound,
       kExtractNoMemory},
      {"original size too small", WithLe32At(packed, dataOffset, 10), kFindFound,
       kExtractCorruptData},
      {"original size too large", WithLe32At(packed, dataOffset, text.size() + 10), kFindFound,
       kExtractCorruptData},
      {"corrupt compressed stream", garbage, kFindFound, kExtractCorruptData},
      {"compressed stream cut short",
       RawArchive("a.cfg", streamStart, kEntryCompressed | kEntryEnciphered), kFindFound,
       kExtractCorruptData},
      {"compressed entry shorter than its size prefix",
       RawArchive("a.cfg", Text("ab"), kEntryCompressed), kFindReadError, kExtractCorruptData},
      {"name longer than 130 bytes", RawArchive(std::string(kMaxEntryNameLength, 'n'), text),
       kFindReadError, readError}};
  for (const char* hostile : {"../a.cfg", "sub/a.cfg", "sub\\a.cfg", "..", ".", ""}) {
    cases.push_back({"hostile name", RawArchive(hostile, text), kFindFound,
                     kExtractCannotCreateOutput, hostile});
  }
  // Cut short anywhere before the entry's data is complete.
  for (std::size_t size = 0; size < dataOffset + text.size(); ++size) {
    cases.push_back({size < dataOffset ? "header cut short" : "data cut short",
                     Bytes(plain.begin(), plain.begin() + static_cast<long>(size)), kFindReadError,
                     readError});
  }
  for (const Case& test : cases) {
    SCOPED_TRACE(testing::Message() << test.name << ", " << test.archive.size() << " bytes, \""
                                    << test.entryName << "\"");
    const fs::path archive = Write(test.archive);
    EXPECT_EQ(database.FindEntry(archive, test.entryName), test.findResult);
    EXPECT_EQ(database.Extract(archive, test.entryName, "pw", out.Path()), test.extractResult);
    EXPECT_EQ(FileCount(out.Path()), 0u);
    EXPECT_EQ(FileCount(archiveFolder.Path()), 1u);
  }
}

TEST(ArchiveWriterTest, RefusesNamesTheArchiveCannotHold) {
  Bytes archive;
  std::string error;
  const std::string tooLong(kMaxEntryNameLength, 'n');
  for (const std::string& name : {std::string("sub/a.cfg"), std::string(".."), tooLong}) {
    EXPECT_FALSE(BuildArchive({{name, Text("x"), 0}}, {}, archive, error)) << name;
    EXPECT_FALSE(error.empty());
  }
  EXPECT_TRUE(BuildArchive({{tooLong.substr(1), Text("x"), 0}}, {}, archive, error));
}

}  // namespace
}  // namespace velmar
