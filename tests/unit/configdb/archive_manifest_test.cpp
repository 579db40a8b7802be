// An archive's manifest: what a change to any stored byte of an entry does to its extraction.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "base/temp_folder.h"
#include "configdb/archive_format.h"
#include "configdb/archive_manifest.h"
#include "configdb/archive_writer.h"
#include "configdb/config_database.h"
#include "support/file_bytes.h"

namespace velmar {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

constexpr std::string_view kManifest = kManifestName;

class ArchiveManifestTest : public ::testing::Test {
 protected:
  fs::path Write(const Bytes& archive) {
    test::WriteBytes(archiveFolder.Path() / "config.db",
                     std::string(archive.begin(), archive.end()));
    return archiveFolder.Path() / "config.db";
  }
  // Offset of an entry's header and of its data in `archive`.
  std::pair<std::size_t, std::size_t> Where(const Bytes& archive, std::string_view name) {
    ConfigDatabase lookup;
    EXPECT_EQ(lookup.FindEntry(Write(archive), std::string(name)), FindResult::kFound) << name;
    const std::size_t header = lookup.entry.headerOffset;
    return {header, header + kEntryFixedHeaderSize + lookup.entry.nameLength};
  }
  // The extraction's result and, on success, what was written; the output folder is emptied.
  std::pair<ExtractResult, std::string> Extract(const Bytes& archive, std::string_view name,
                                                std::string_view password = "pw") {
    const ExtractResult result =
        database.Extract(Write(archive), std::string(name), std::string(password), out.Path());
    std::string contents = test::ReadBytes(out.Path() / name);
    EXPECT_EQ(test::EntryCount(out.Path()), result == ExtractResult::kDone ? 1 : 0) << name;
    fs::remove(out.Path() / name);
    return {result, contents};
  }

  TempFolder archiveFolder;
  TempFolder out;
  ConfigDatabase database;
};

TEST_F(ArchiveManifestTest, ADamagedEntryIsRefusedOnlyWhenTheArchiveCarriesAManifest) {
  const auto text = [](std::string_view t) { return Bytes(t.begin(), t.end()); };
  const std::vector<ArchiveSource> sources = {{"a.cfg", text("SPAN = 4.5\r\n"), 0x09790000u | 630},
                                              {"b.cfg", text("MAXVEL = 6\r\n"), 0x09790000u | 631},
                                              {"c.cfg", text("MAXFORCE = 900\r\n"), 0}};
  using Edit = std::function<void(Bytes&, std::size_t header, std::size_t data)>;
  const auto flip = [](std::size_t at, std::uint8_t mask, bool fromData) -> Edit {
    return [=](Bytes& a, std::size_t header, std::size_t data) {
      a[(fromData ? data : header) + at] ^= mask;
    };
  };
  const ExtractResult done = ExtractResult::kDone, damaged = ExtractResult::kDamaged;
  // Every manifest line here is 64 digits, a blank, a five-letter name and a line feed.
  constexpr std::size_t kDigits = 64;
  constexpr std::size_t kLine = kDigits + 1 + 5 + 1;
  struct Case {
    const char* what;
    std::string_view edited;  // the entry the edit is applied to
    Edit edit;
    std::string_view extracted;
    ExtractResult result;
    std::string damagedEntry;
    // The same edit on an archive without a manifest; nullopt where it has no counterpart.
    std::optional<ExtractResult> withoutManifest;
  };
  const Case cases[] = {
      {"untouched", "b.cfg", [](Bytes&, std::size_t, std::size_t) {}, "b.cfg", done, "", done},
      {"data bit", "b.cfg", flip(9, 0x10, true), "b.cfg", damaged, "b.cfg", std::nullopt},
      {"other entries unaffected", "b.cfg", flip(9, 0x10, true), "c.cfg", done, "", done},
      {"time stamp", "b.cfg", flip(8, 0x01, false), "b.cfg", damaged, "b.cfg", done},
      {"compressed flag", "b.cfg", flip(12, 0x02, false), "b.cfg", damaged, "b.cfg", std::nullopt},
      {"letter case of the name", "b.cfg", flip(14, 0x20, false), "b.cfg", damaged, "B.cfg", done},
      {"data replaced by other bytes", "b.cfg",
       [](Bytes& a, std::size_t, std::size_t data) {
         for (std::size_t i = data + 4; i < data + 14; ++i)
           a[i] = static_cast<std::uint8_t>(i * 37);
       },
       "b.cfg", damaged, "b.cfg", std::nullopt},
      {"manifest digit changed", kManifest,
       [](Bytes& a, std::size_t, std::size_t data) { a[data] = a[data] == '0' ? '1' : '0'; },
       "a.cfg", damaged, "a.cfg", std::nullopt},
      {"manifest digit made no digit", kManifest,
       [](Bytes& a, std::size_t, std::size_t data) { a[data] = 'g'; }, "b.cfg", damaged,
       std::string(kManifest), std::nullopt},
      {"manifest lists b under another name", kManifest, flip(kLine + kDigits + 1, 0x01, true),
       "b.cfg", damaged, "b.cfg", std::nullopt},
      {"manifest time stamp", kManifest, flip(8, 0x01, false), "c.cfg", damaged,
       std::string(kManifest), std::nullopt},
      {"manifest's last line end", kManifest,
       [](Bytes& a, std::size_t, std::size_t data) { a[data + 3 * kLine - 1] = ' '; }, "a.cfg",
       damaged, std::string(kManifest), std::nullopt},
  };
  for (const bool compress : {false, true}) {
    const Bytes pristine = [&] {
      Bytes archive;
      std::string error;
      EXPECT_TRUE(BuildArchive(sources, {compress, "pw", true}, archive, error)) << error;
      return archive;
    }();
    Bytes bareArchive;
    std::string error;
    ASSERT_TRUE(BuildArchive(sources, {compress, "pw", false}, bareArchive, error));
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + (compress ? ", compressed" : ""));
      Bytes archive = pristine;
      const auto [header, data] = Where(archive, c.edited);
      c.edit(archive, header, data);
      const auto [result, contents] = Extract(archive, c.extracted);
      EXPECT_EQ(result, c.result);
      EXPECT_EQ(database.damagedEntry, c.damagedEntry);
      if (result == done && c.extracted != kManifest) {
        const auto& source = c.extracted == "b.cfg" ? sources[1] : sources[2];
        EXPECT_EQ(contents, std::string(source.data.begin(), source.data.end()));
      }
      if (c.withoutManifest) {
        Bytes bare = bareArchive;
        const auto [bareHeader, bareData] = Where(bare, c.edited);
        c.edit(bare, bareHeader, bareData);
        EXPECT_EQ(Extract(bare, c.extracted).first, *c.withoutManifest);
      }
    }
  }
}

TEST(ArchiveWriterTest, RefusesTheManifestsNameAndRepeatedNames) {
  const std::vector<std::vector<std::string>> refused = {
      {"manifest.SHA256"}, {"a.cfg", "b.cfg", "A.CFG"}, {"Manifest.sha256", "a.cfg"}};
  for (const auto& names : refused) {
    std::vector<ArchiveSource> sources;
    for (const std::string& name : names) {
      sources.push_back({name, {'x'}, 0});
    }
    Bytes archive;
    std::string error;
    EXPECT_FALSE(BuildArchive(sources, {}, archive, error)) << names.back();
    EXPECT_NE(error.find('"'), std::string::npos);
  }
}

// Every single-bit change in the entries of the demo database either makes an extraction fail
// or leaves every entry's contents as they were; the counts go to the test's output. Every bit
// takes minutes (stride 1: 46392 flips; the 128 that load are those of the manifest's name,
// which then still names it or leaves an archive without one, its entries intact); a stride
// prime to 8 samples every bit position of a byte.
constexpr std::size_t kStride = 509;
TEST_F(ArchiveManifestTest, NoBitFlipInTheDemoDatabaseChangesWhatIsLoaded) {
  const std::string original = test::ReadBytes(VELMAR_DEMO_DB);
  const Bytes pristine(original.begin(), original.end());
  const auto [listed, manifestText] = Extract(pristine, kManifest);
  ASSERT_EQ(listed, ExtractResult::kDone);
  std::vector<std::pair<std::string, std::string>> entries;
  std::istringstream manifest(manifestText);
  std::string digest;
  std::string name;
  while (manifest >> digest >> name) {
    const auto [result, contents] = Extract(pristine, name, kConfigurationPassword);
    ASSERT_EQ(result, ExtractResult::kDone) << name;
    entries.emplace_back(name, contents);
  }
  ASSERT_EQ(entries.size(), 7u);
  int refused = 0;
  int unchanged = 0;
  for (std::size_t bit = kArchiveHeaderSize * 8; bit < (pristine.size() - 2) * 8; bit += kStride) {
    Bytes archive = pristine;
    archive[bit / 8] ^= static_cast<std::uint8_t>(1u << (bit % 8));
    const fs::path path = Write(archive);
    bool anyRefused = false;
    for (const auto& [name, contents] : entries) {
      ConfigDatabase reader;
      if (reader.Extract(path, name, std::string(kConfigurationPassword), out.Path()) ==
          ExtractResult::kDone) {
        EXPECT_EQ(test::ReadBytes(out.Path() / name), contents) << name << " bit " << bit;
        fs::remove(out.Path() / name);
      } else {
        anyRefused = true;
      }
    }
    ++(anyRefused ? refused : unchanged);
  }
  std::printf("%d flips refused, %d loaded unchanged contents\n", refused, unchanged);
}

}  // namespace
}  // namespace velmar
