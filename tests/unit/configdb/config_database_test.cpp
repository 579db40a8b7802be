#include "configdb/config_database.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <fstream>
#include <iterator>
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
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

std::size_t FileCount(const fs::path& folder) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

Bytes Pack(const std::vector<ArchiveSource>& sources, const ArchiveOptions& options) {
  Bytes archive;
  std::string error;
  EXPECT_TRUE(BuildArchive(sources, options, archive, error)) << error;
  return archive;
}

// A one-entry archive written by hand, for names and sizes the writer refuses to produce.
Bytes RawArchive(std::string_view name, const Bytes& data, std::uint16_t flags = 0) {
  Bytes archive;
  AppendLe16(archive, 1);
  AppendLe16(archive, 0);
  AppendLe16(archive, static_cast<std::uint16_t>(name.size() + 1));
  AppendLe32(archive, static_cast<std::uint32_t>(data.size()));
  AppendLe16(archive, 0);
  AppendLe32(archive, 0);
  AppendLe16(archive, flags);
  archive.insert(archive.end(), name.begin(), name.end());
  archive.push_back(0);
  archive.insert(archive.end(), data.begin(), data.end());
  AppendLe16(archive, 0);
  return archive;
}

class ConfigDatabaseTest : public ::testing::Test {
 protected:
  fs::path Write(const Bytes& archive) {
    const fs::path path = archiveFolder.Path() / "config.db";
    WriteBytes(path, archive);
    return path;
  }

  TempFolder archiveFolder;
  TempFolder out;
  ConfigDatabase database;
};

Bytes Incompressible(std::size_t size) {
  Bytes data(size);
  std::uint32_t state = 12345;
  for (auto& byte : data) {
    state = state * 1103515245u + 12345u;
    byte = static_cast<std::uint8_t>(state >> 16);
  }
  return data;
}

TEST_F(ConfigDatabaseTest, EveryFlagCombinationReadsBackByteForByte) {
  const std::vector<ArchiveSource> sources = {
      {"Configurations.cfg", Text("1045210-001 5000000-000 Demo, 2.00 3.10\r\n"),
       0x09790000u | 630u},
      {"empty.cfg", {}, 0x01640000u | 0x1000u},
      {"repeated.cfg", Bytes(5000, 'A'), 0x1F7AC000u | 1439u},
      {"noise.bin", Incompressible(70000), 0x0F7B6000u},
  };
  for (const bool compress : {false, true}) {
    for (const std::string& password : {std::string(), std::string("7Q5HaPv")}) {
      SCOPED_TRACE(testing::Message() << "compress " << compress << " password " << password);
      const fs::path archive = Write(Pack(sources, {compress, password}));
      for (const ArchiveSource& source : sources) {
        SCOPED_TRACE(source.name);
        ASSERT_EQ(database.Extract(archive, source.name, password, out.Path()), kExtractDone);
        EXPECT_EQ(ReadAll(out.Path() / source.name), source.data);
        struct stat status {};
        ASSERT_EQ(::stat((out.Path() / source.name).c_str(), &status), 0);
        EXPECT_EQ(status.st_mtime, ArchiveTimestampToTime(source.timestamp));
        EXPECT_EQ(database.entry.originalSize, source.data.size());
        EXPECT_EQ(database.entry.flags,
                  (compress ? kEntryCompressed : 0) | (password.empty() ? 0 : kEntryEnciphered));

        ASSERT_EQ(database.FindEntry(archive, source.name), kFindFound);
        EXPECT_EQ(database.entry.originalSize, source.data.size());
        EXPECT_EQ(database.entry.timestamp, source.timestamp);
        EXPECT_EQ(database.entry.name, source.name);
        EXPECT_EQ(database.entry.nameLength, source.name.size() + 1);
      }
    }
  }
}

TEST_F(ConfigDatabaseTest, LookupIgnoresCaseAndRecordsWhereTheEntryStarts) {
  const fs::path archive =
      Write(Pack({{"First.cfg", Text("one"), 0}, {"Configurations.cfg", Text("two"), 0}}, {}));
  ASSERT_EQ(database.FindEntry(archive, "configurations.CFG"), kFindFound);
  EXPECT_EQ(database.entry.name, "Configurations.cfg");
  EXPECT_EQ(database.entry.headerOffset, kArchiveHeaderSize + kEntryFixedHeaderSize + 10 + 3);
  EXPECT_EQ(database.entry.storedSize, 3u);

  ASSERT_EQ(database.Extract(archive, "configurations.cfg", "", out.Path()), kExtractDone);
  EXPECT_EQ(ReadAll(out.Path() / "configurations.cfg"), Text("two"));
  EXPECT_EQ(database.FindEntry(archive, "Missing.cfg"), kFindNotFound);
}

TEST_F(ConfigDatabaseTest, ExtractionReplacesAnExistingFile) {
  const fs::path archive = Write(Pack({{"a.cfg", Text("new"), 0}}, {true, "pw"}));
  WriteBytes(out.Path() / "a.cfg", Text("old contents"));
  ASSERT_EQ(database.Extract(archive, "a.cfg", "pw", out.Path()), kExtractDone);
  EXPECT_EQ(ReadAll(out.Path() / "a.cfg"), Text("new"));
  EXPECT_EQ(FileCount(out.Path()), 1u);
}

TEST_F(ConfigDatabaseTest, TimestampGivesLocalWallClockTime) {
  const std::time_t time = ArchiveTimestampToTime((9u << 24) | (121u << 16) | (3u << 12) | 630u);
  std::tm local{};
  localtime_r(&time, &local);
  EXPECT_EQ(local.tm_mday, 9);
  EXPECT_EQ(local.tm_mon + 1, 3);
  EXPECT_EQ(local.tm_year + 1900, 2021);
  EXPECT_EQ(local.tm_hour, 10);
  EXPECT_EQ(local.tm_min, 30);
  EXPECT_EQ(local.tm_sec, 0);
  EXPECT_EQ(PackArchiveTimestamp(time), (9u << 24) | (121u << 16) | (3u << 12) | 630u);
}

TEST(ArchiveKeystreamTest, BlocksAreTheRunningCrcOfThePasswordAndUndoThemselves) {
  // CRC-16/ARC of "123456789" is 0xBB3D; the second block carries the register on.
  Bytes data(36, 0);
  ArchiveKeystream keystream("123456789");
  keystream.Apply(data);
  EXPECT_EQ(data[0], 0xC1);
  EXPECT_EQ(data[1], 0xD4);
  EXPECT_EQ(data[16], 0x3D);
  EXPECT_EQ(data[17], 0xBB);
  EXPECT_EQ(data[34], 0x7B);
  EXPECT_EQ(data[35], 0xED);

  const Bytes clear = Text("Deciphering twice restores the text, whatever its length.");
  Bytes buffer = clear;
  keystream.Apply(buffer);
  EXPECT_NE(buffer, clear);
  keystream.Apply(buffer);
  EXPECT_EQ(buffer, clear);
}

TEST_F(ConfigDatabaseTest, ArchivesWithoutTheEntryGiveTheirCodes) {
  Bytes zeroWord;
  AppendLe16(zeroWord, 0);
  const fs::path emptyArchive = Write(zeroWord);
  EXPECT_EQ(database.FindEntry(emptyArchive, "a.cfg"), kFindEmptyArchive);
  EXPECT_EQ(database.Extract(emptyArchive, "a.cfg", "pw", out.Path()), kExtractEmptyArchive);

  const fs::path noEntries = Write(Pack({}, {}));
  EXPECT_EQ(database.FindEntry(noEntries, "a.cfg"), kFindNotFound);
  EXPECT_EQ(database.Extract(noEntries, "a.cfg", "pw", out.Path()), kExtractNotFound);

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

struct MalformedCase {
  const char* name;
  Bytes archive;
  std::string entryName;
  int findResult;
  int extractResult;
};

Bytes WithPatchedLe32(Bytes archive, std::size_t offset, std::uint32_t value) {
  Bytes patched;
  AppendLe32(patched, value);
  std::copy(patched.begin(), patched.end(), archive.begin() + static_cast<long>(offset));
  return archive;
}

std::vector<MalformedCase> MalformedCases() {
  const std::string name = "a.cfg";
  const std::size_t dataOffset = kArchiveHeaderSize + kEntryFixedHeaderSize + name.size() + 1;
  const Bytes text = Text("SPAN = 4.5\r\nMAXVEL = 6\r\nMAXVEL = 6\r\nMAXVEL = 6\r\n");
  const Bytes compressed = Pack({{name, text, 0}}, {true, "pw"});
  const Bytes plain = Pack({{name, text, 0}}, {});

  std::vector<MalformedCase> cases;
  // Cut short anywhere before the entry's data is complete.
  for (std::size_t size = 0; size < dataOffset + text.size(); ++size) {
    Bytes cut(plain.begin(), plain.begin() + static_cast<long>(size));
    const bool dataCut = size >= dataOffset;
    cases.push_back({dataCut ? "data cut short" : "header cut short", cut, name, kFindReadError,
                     kExtractReadWriteError});
  }
  cases.push_back({"stored size beyond the file", WithPatchedLe32(plain, 6, text.size() + 3), name,
                   kFindReadError, kExtractReadWriteError});
  cases.push_back({"stored size of 4 GiB", WithPatchedLe32(plain, 6, 0xFFFFFFFFu), name,
                   kFindReadError, kExtractReadWriteError});
  cases.push_back({"original size beyond 16 MiB",
                   WithPatchedLe32(compressed, dataOffset, kMaxEntrySize + 1), name, kFindFound,
                   kExtractNoMemory});
  cases.push_back({"original size too small",
                   WithPatchedLe32(compressed, dataOffset, static_cast<std::uint32_t>(10)), name,
                   kFindFound, kExtractCorruptData});
  cases.push_back({"original size too large",
                   WithPatchedLe32(compressed, dataOffset, text.size() + 10), name, kFindFound,
                   kExtractCorruptData});
  Bytes garbage = compressed;
  std::fill(garbage.begin() + static_cast<long>(dataOffset + 4), garbage.end() - 2, 0xFF);
  cases.push_back({"corrupt compressed stream", garbage, name, kFindFound, kExtractCorruptData});
  const Bytes streamStart(compressed.begin() + static_cast<long>(dataOffset),
                          compressed.begin() + static_cast<long>(dataOffset + 9));
  cases.push_back({"compressed stream cut short",
                   RawArchive(name, streamStart, kEntryCompressed | kEntryEnciphered), name,
                   kFindFound, kExtractCorruptData});
  cases.push_back({"compressed entry shorter than its size prefix",
                   RawArchive(name, Text("ab"), kEntryCompressed), name, kFindReadError,
                   kExtractCorruptData});
  cases.push_back({"name longer than 130 bytes",
                   RawArchive(std::string(kMaxEntryNameLength, 'n'), text), name, kFindReadError,
                   kExtractReadWriteError});
  for (const char* hostile : {"../a.cfg", "sub/a.cfg", "sub\\a.cfg", "..", ".", ""}) {
    cases.push_back({"hostile entry name", RawArchive(hostile, text), hostile, kFindFound,
                     kExtractCannotCreateOutput});
  }
  return cases;
}

TEST_F(ConfigDatabaseTest, MalformedArchivesAreRefusedWithoutLeavingAFile) {
  for (const MalformedCase& test : MalformedCases()) {
    SCOPED_TRACE(testing::Message() << test.name << ", " << test.archive.size() << " bytes, \""
                                    << test.entryName << "\"");
    const fs::path archive = Write(test.archive);
    EXPECT_EQ(database.FindEntry(archive, test.entryName), test.findResult);
    EXPECT_EQ(database.Extract(archive, test.entryName, "pw", out.Path()), test.extractResult);
    EXPECT_EQ(FileCount(out.Path()), 0u);
    EXPECT_EQ(FileCount(archiveFolder.Path()), 1u);
  }
}

TEST(ArchiveWriterTest, RefusesNamesAndSizesTheArchiveCannotHold) {
  Bytes archive;
  std::string error;
  for (const std::string& name :
       {std::string("sub/a.cfg"), std::string(".."), std::string(kMaxEntryNameLength, 'n')}) {
    EXPECT_FALSE(BuildArchive({{name, Text("x"), 0}}, {}, archive, error)) << name;
    EXPECT_FALSE(error.empty());
  }
  EXPECT_TRUE(BuildArchive({{std::string(kMaxEntryNameLength - 1, 'n'), Text("x"), 0}}, {}, archive,
                           error));
}

}  // namespace
}  // namespace velmar
