#include "configdb/configuration_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/temp_folder.h"
#include "configdb/archive_format.h"
#include "configdb/archive_writer.h"
#include "configdb/config_db_location.h"
#include "support/file_bytes.h"
#include "support/recording_ui.h"

namespace velmar {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using Files = std::vector<std::pair<std::string, std::string>>;

std::string FirstToken(const std::string& label) {
  return label.substr(0, label.find(' '));
}

bool SameFields(const SetupFields& a, const SetupFields& b) {
  return std::memcmp(&a, &b, sizeof(SetupFields)) == 0;
}

// Runs every test from an empty current folder with a private TMPDIR, and checks afterwards that
// nothing was written to the one and nothing left behind in the other.
class ConfigurationListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("TMPDIR", tmpFolder.Path().c_str(), 1);
    fs::current_path(workFolder.Path());
  }
  void TearDown() override {
    fs::current_path(previousFolder);
    previousTmp.empty() ? ::unsetenv("TMPDIR") : ::setenv("TMPDIR", previousTmp.c_str(), 1);
    EXPECT_TRUE(fs::is_empty(workFolder.Path()));
    EXPECT_TRUE(fs::is_empty(tmpFolder.Path()));
  }
  // A database of `files`, packed as the demo database is.
  fs::path MakeDatabase(const Files& files) {
    std::vector<ArchiveSource> sources;
    for (const auto& [name, text] : files) {
      sources.push_back({name, {text.begin(), text.end()}, 0x01790000u});
    }
    std::vector<std::uint8_t> archive;
    std::string error;
    EXPECT_TRUE(BuildArchive(sources, {true, std::string(kConfigurationPassword)}, archive, error));
    test::WriteBytes(scratch.Path() / "config.db", std::string(archive.begin(), archive.end()));
    return scratch.Path() / "config.db";
  }

  TempFolder workFolder;
  TempFolder tmpFolder;
  TempFolder scratch;
  const fs::path previousFolder = fs::current_path();
  const std::string previousTmp = std::getenv("TMPDIR") != nullptr ? std::getenv("TMPDIR") : "";
  test::RecordingUi ui;
  PartCatalogue catalogue;
  SetupParameters setup;
};

const char* const kCatalogue =
    "# test catalogue\r\n"
    "C1 M1 First, 2.00 3.10\r\n"
    "C2 M2 Second has no setup file, 2.00 3.10\r\n"
    "C3 M1 Same maker as the first, 3.00 99.99\r\n";

TEST_F(ConfigurationListTest, DemoDatabaseListsLoadsAndRebuildsForTheFirmware) {
  ConfigurationList list(ui, catalogue, setup, VELMAR_DEMO_DB);
  std::string versionText;
  std::string programPartNumber;
  ASSERT_TRUE(list.StartUp(versionText, programPartNumber));
  EXPECT_EQ(versionText + " " + programPartNumber, "2.41 1045200-241");
  EXPECT_EQ(list.selected, 0);
  EXPECT_STREQ(setup.OrvikPartNo, "1045210-001");
  ASSERT_EQ(list.labels.size(), 5u);
  EXPECT_EQ(list.labels[4], "1045210-005    Valve seating 6.0 in stroke");
  // File name, maker part number, customer part number and serial number of each choice.
  for (const auto& [index, chosen] :
       {std::pair{4u, "1045210-005.cfg 5000610-030 1045210-005 31337"},
        std::pair{0u, "1045210-001.cfg 5000000-000 1045210-001 31337"}}) {
    list.ChooseConfiguration(index, "31337");
    EXPECT_EQ(setup.fileName + " " + setup.PARTNO + " " + setup.OrvikPartNo + " " + setup.SERIALNO,
              chosen);
  }
  // A rebuild lists only what the firmware admits.
  const std::pair<int, Lines> cases[] = {{0x206, {"1045210-001", "1045210-002", "1045210-003"}},
                                         {0x207, {"1045210-001", "1045210-003"}},
                                         {0x30B, {"1045210-004", "1045210-005"}}};
  for (const auto& [version, expected] : cases) {
    ASSERT_EQ(list.RebuildConfigList(version), 0);
    Lines customers;
    std::ranges::transform(list.labels, std::back_inserter(customers), FirstToken);
    EXPECT_EQ(customers, expected) << std::hex << version;
    EXPECT_STREQ(setup.OrvikPartNo, expected.front().c_str());
  }
  // Nothing admits firmware 1.99: the list empties and the record stays as it was.
  const SetupParameters before = setup;
  EXPECT_EQ(list.RebuildConfigList(0x1FF), 2);
  EXPECT_EQ(list.labels, Lines{});
  EXPECT_EQ(list.selected, -1);
  EXPECT_EQ(list.configFileName, "");
  EXPECT_TRUE(SameFields(setup, before));
  EXPECT_EQ(ui.Messages(), Lines{});
}

TEST_F(ConfigurationListTest, StartUpFailuresEndWithTheirWarning) {
  const std::pair<std::string, std::string> version = {"VersionAndPartNo.cfg", "2.41\r\n1-2\r\n"};
  const std::string listError =
      "Error initializing configuration options menu, check configuration database.";
  // Files of the database, InitConfigList's result, the warning; no database is the window's.
  const std::tuple<Files, int, std::string> cases[] = {
      {{{"Configurations.cfg", "# nothing\r\n"}, version}, 3, listError},
      {{{"Configurations.cfg", "C2 M2 Missing, 2.00 3.10\r\n"}, version}, 4, listError},
      {{{"Configurations.cfg", kCatalogue}, {"C1.cfg", "SPAN = 4.5\r\n"}},
       0,
       "Error reading version number and part number configuration file."}};
  for (const auto& [files, initResult, message] : cases) {
    ui.events.clear();
    ConfigurationList list(ui, catalogue, setup, MakeDatabase(files));
    EXPECT_EQ(list.InitConfigList(), initResult) << message;
    std::string versionText = "unchanged";
    std::string programPartNumber = "unchanged";
    EXPECT_FALSE(list.StartUp(versionText, programPartNumber));
    EXPECT_EQ(versionText, "unchanged");
    EXPECT_EQ(ui.Messages(), Lines{"Warning|Program Error|" + message});
  }
}

TEST_F(ConfigurationListTest, ChoosingAConfigurationWithoutSetupFileWarnsAndKeepsTheRecord) {
  ConfigurationList list(ui, catalogue, setup,
                         MakeDatabase({{"Configurations.cfg", kCatalogue},
                                       {"C1.cfg", "PARTNO = M1\r\nSPAN = 4.5\r\n"}}));
  ASSERT_EQ(list.InitConfigList(), 0);
  EXPECT_STREQ(setup.SPAN, "4.5");
  EXPECT_STREQ(setup.OrvikPartNo, "C1");  // two records share M1: the first in file order wins
  SetupParameters before = setup;
  list.ChooseConfiguration(1, "00042");
  EXPECT_EQ(ui.Messages(), Lines{"Warning|Program Error|Configuration parameters do not exist "
                                 "for this part number"});
  EXPECT_EQ(list.configFileName, "C2.cfg");
  SetField(before.SERIALNO, "00042");
  EXPECT_TRUE(SameFields(setup, before));
  SetField(setup.PARTNO, "M9");
  list.UpdateOrvikPartNo();
  EXPECT_STREQ(setup.OrvikPartNo, "0000000-000");
  EXPECT_EQ(list.RebuildConfigList(0x30B), 2);  // only C3 admits 3.11, and it has no file
  EXPECT_EQ(list.labels, Lines{"C3    Same maker as the first"});
}

// A damaged entry is named in its own warning; the start-up's warning follows, a choice's
// warning does not, and the record keeps what it held.
TEST_F(ConfigurationListTest, DamagedEntriesAreNamedAndNothingOfThemIsLoaded) {
  const Files files = {{"Configurations.cfg", kCatalogue},
                       {"VersionAndPartNo.cfg", "2.41\r\n1-2\r\n"},
                       {"C1.cfg", "PARTNO = M1\r\nSPAN = 4.5\r\n"},
                       {"C3.cfg", "PARTNO = M1\r\nSPAN = 3.5\r\n"}};
  const std::string listError =
      "Warning|Program Error|Error initializing configuration options menu, check configuration "
      "database.";
  const std::string versionError =
      "Warning|Program Error|Error reading version number and part number configuration file.";
  const auto damagedText = [](const std::string& name) {
    return "Warning|Program Error|Configuration database entry " + name + " is damaged.";
  };
  for (const auto& [damaged, startUp] :
       {std::pair<std::string, Lines>{"Configurations.cfg",
                                      {damagedText("Configurations.cfg"), listError}},
        {"C1.cfg", {damagedText("C1.cfg"), listError}},
        {"VersionAndPartNo.cfg", {damagedText("VersionAndPartNo.cfg"), versionError}},
        {"C3.cfg", {}}}) {
    SCOPED_TRACE(damaged);
    const fs::path path = MakeDatabase(files);
    ConfigDatabase lookup;
    ASSERT_EQ(lookup.FindEntry(path, damaged), FindResult::kFound);
    std::string bytes = test::ReadBytes(path);
    bytes[lookup.entry.headerOffset + kEntryFixedHeaderSize + lookup.entry.nameLength + 5] ^= 0x40;
    test::WriteBytes(path, bytes);
    ui.events.clear();
    setup = SetupParameters();
    ConfigurationList list(ui, catalogue, setup, path);
    std::string versionText;
    std::string programPartNumber;
    EXPECT_EQ(list.StartUp(versionText, programPartNumber), startUp.empty());
    EXPECT_EQ(ui.Messages(), startUp);
    if (startUp.empty()) {
      ui.events.clear();
      EXPECT_STREQ(setup.SPAN, "4.5");
      list.ChooseConfiguration(2, "00042");
      EXPECT_EQ(ui.Messages(), Lines{damagedText("C3.cfg")});
      EXPECT_STREQ(setup.SPAN, "4.5");
    }
  }
}

TEST(LocateConfigDatabaseTest, OverrideThenFirstFolderHoldingIt) {
  TempFolder empty;
  TempFolder holding;
  TempFolder alsoHolding;
  std::ofstream(holding.Path() / "config.db") << "x";
  std::ofstream(alsoHolding.Path() / "config.db") << "x";
  const fs::path missing = empty.Path() / "elsewhere.db";
  EXPECT_EQ(LocateConfigDatabase(missing, {holding.Path()}), missing);
  EXPECT_EQ(LocateConfigDatabase({}, {empty.Path(), {}, holding.Path(), alsoHolding.Path()}),
            holding.Path() / "config.db");
  EXPECT_EQ(LocateConfigDatabase({}, {empty.Path()}), fs::path());
  EXPECT_TRUE(LocateConfigDatabase("relative.db", {}).is_absolute());
}

}  // namespace
}  // namespace velmar
