// Setup download and upload with velmar-cli against velmar-sim over a pseudo-terminal.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "child_process.h"
#include "configdb/configuration_list.h"
#include "configdb/part_catalogue.h"
#include "configdb/temp_folder.h"
#include "setup/pack_setup.h"
#include "setup/setup_file.h"
#include "setup/setup_page_image.h"
#include "support/recording_ui.h"

namespace velmar::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSuccess =
    "Setup Com Status: Setup download successful.\n\nNOTE: The Orvik part number on the "
    "nameplate must be\nre-identified to reflect the downloaded Orvik part number!\n";
constexpr const char* kBadChecksum = "Setup Com Error: Setup data checksum is invalid!\n";

std::vector<uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The approved setup of `entry` as the actuator with `serial` and `version` should now hold it.
SetupParameters ApprovedImage(const std::string& entry, const char* serial, int version) {
  RecordingUi ui;
  PartCatalogue catalogue;
  SetupParameters record;
  ConfigurationList list(ui, catalogue, record, VELMAR_DEMO_DB);
  EXPECT_EQ(list.LoadCatalogue(), 0);
  EXPECT_EQ(list.LoadConfiguration(entry), 0);
  SetField(record.SERIALNO, serial);
  PackSetup(record, version);
  return record;
}

fs::path OnlyBackup(const fs::path& folder) {
  std::vector<fs::path> backups;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename().string().rfind("backup-40123-", 0) == 0) {
      backups.push_back(entry.path());
    }
  }
  EXPECT_EQ(backups.size(), 1u);
  return backups.empty() ? fs::path() : backups.front();
}

TEST(SetupTransferWithSim, DownloadBacksUpThenWritesTheApprovedImageThatUploadReadsBack) {
  struct Case {
    const char* firmware;
    const char* mode;
    int version;
    std::vector<std::string> choice;
    std::string entry;
  };
  const std::vector<Case> cases = {
      {"3.10", "crc", 0x30A, {"--config", "1045210-004"}, "1045210-004.cfg"},
      {"2.06", "sum", 0x206, {}, "1045210-001.cfg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.firmware);
    TempFolder work;
    ASSERT_TRUE(work.Valid());
    const fs::path memory = work.Path() / "memory.bin";
    SimProcess sim({"--firmware", c.firmware, "--mode", c.mode, "--serial", "40123", "--memory",
                    memory.string()});
    ASSERT_FALSE(sim.Device().empty());
    const auto cli = [&](std::vector<std::string> words) {
      words.insert(words.begin(),
                   {VELMAR_CLI_PATH, "--device", sim.Device(), "--db", VELMAR_DEMO_DB, "--yes"});
      return RunProgram(words, {}, work.Path().string());
    };

    std::vector<std::string> download = {"setup", "download"};
    download.insert(download.end(), c.choice.begin(), c.choice.end());
    RunResult result = cli(download);
    // The blank actuator's image has no valid checksum: the backup says so, then the download
    // goes on.
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, kSuccess);
    EXPECT_EQ(result.err.rfind(kBadChecksum, 0), 0u) << result.err;
    RecordingUi ui;
    SetupParameters backup;
    ASSERT_EQ(LoadSetupFileByName(backup, OnlyBackup(work.Path()).string(), ui), 0);
    EXPECT_STREQ(backup.SERIALNO, "40123");

    // Everything but the date and time bytes, which the download stamps, and the checksum.
    const SetupParameters approved = ApprovedImage(c.entry, "40123", c.version);
    const std::size_t size = SetupImageSize(c.version);
    const std::vector<uint8_t> image = ReadBytes(memory);
    ASSERT_GE(image.size(), size);
    EXPECT_EQ(std::vector<uint8_t>(image.begin() + 8, image.begin() + size - 2),
              std::vector<uint8_t>(approved.pageImage + 8, approved.pageImage + size - 2));
    EXPECT_EQ(ImageWord(image, size - 2),
              SetupChecksum(std::span<const uint8_t>(image.data(), size)));

    result = cli({"setup", "upload", "--out", "after.cfg"});
    EXPECT_EQ(result.status, 0) << result.err;
    SetupParameters uploaded;
    ASSERT_EQ(LoadSetupFileByName(uploaded, (work.Path() / "after.cfg").string(), ui), 0);
    EXPECT_STREQ(uploaded.PARTNO, approved.PARTNO);
    EXPECT_STREQ(uploaded.SERIALNO, "40123");

    result = cli({"setup", "report", "--file", "after.cfg", "--out", "report.txt"});
    EXPECT_EQ(result.status, 0) << result.err;
    const std::vector<uint8_t> report = ReadBytes(work.Path() / "report.txt");
    const std::string text(report.begin(), report.end());
    EXPECT_EQ(text.rfind("\n\n\n\tActuator Setup Parameters\n\n", 0), 0u);
    EXPECT_NE(text.find(std::string("\tZOLT Part Number :\t") + approved.PARTNO + "\n"),
              std::string::npos);
    EXPECT_NE(text.find(std::string("\n\tFirmware Version :\t\t") + c.firmware + "\n"),
              std::string::npos);
  }
}

}  // namespace
}  // namespace velmar::test
