// Setup download and upload with velmar-cli against velmar-sim over a pseudo-terminal.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "base/temp_folder.h"
#include "child_process.h"
#include "configdb/configuration_list.h"
#include "configdb/part_catalogue.h"
#include "damaged_database.h"
#include "setup/pack_setup.h"
#include "setup/setup_file.h"
#include "setup/setup_page_image.h"
#include "support/file_bytes.h"
#include "support/recording_ui.h"

namespace velmar::test {
namespace {

namespace fs = std::filesystem;

constexpr int kFirmware = 0x30A;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The approved setup of `customerPartNo`, packed for actuator 40123 on firmware 3.10.
std::vector<uint8_t> ApprovedImage(const std::string& customerPartNo) {
  RecordingUi ui;
  PartCatalogue catalogue;
  SetupParameters record;
  ConfigurationList list(ui, catalogue, record, VELMAR_DEMO_DB);
  EXPECT_EQ(list.LoadCatalogue(), 0);
  EXPECT_EQ(list.LoadConfiguration(customerPartNo + ".cfg"), 0);
  SetField(record.SERIALNO, "40123");
  PackSetup(record, kFirmware);
  return {record.pageImage, record.pageImage + SetupImageSize(kFirmware)};
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

// velmar-sim options for actuator 40123 on firmware 3.10 whose memory, file `memory`, holds
// 1045210-001's setup.
std::vector<std::string> UnitHolding001(const fs::path& memory) {
  std::vector<uint8_t> held = ApprovedImage("1045210-001");
  held.resize(8192);
  WriteBytes(memory, std::string(held.begin(), held.end()));
  return {"--firmware", "3.10",     "--mode",        "crc",    "--serial",
          "40123",      "--memory", memory.string(), "--baud", "115200"};
}

TEST(SetupTransferWithSim, DownloadBacksUpTheOldSetupThenLeavesTheChosenImageInMemory) {
  TempFolder work;
  ASSERT_TRUE(work.Valid());
  // The actuator holds 1045210-001, so the backup is a real upload; 1045210-004 goes over it.
  const fs::path memory = work.Path() / "memory.bin";
  SimProcess sim(UnitHolding001(memory));
  ASSERT_FALSE(sim.Device().empty());
  const auto cli = [&](std::vector<std::string> words) {
    words.insert(words.begin(), {VELMAR_CLI_PATH, "--device", sim.Device(), "--baud", "115200",
                                 "--db", VELMAR_DEMO_DB, "--yes"});
    return RunProgram(words, work.Path().string());
  };

  // 1045210-004's span of 8.0 in is beyond the setup pages' range.
  RunResult result = cli({"setup", "download", "--config", "1045210-004", "--force"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "Setup Com Status: Setup download successful.\n\nNOTE: The Orvik part number on the "
            "nameplate must be\nre-identified to reflect the downloaded Orvik part number!\n");
  RecordingUi ui;
  SetupParameters backup;
  const fs::path backupFile = OnlyBackup(work.Path());
  ASSERT_EQ(LoadSetupFileByName(backup, backupFile.string(), ui), FileResult::kOk);
  EXPECT_STREQ(backup.PARTNO, "5000000-000");
  EXPECT_STREQ(backup.SPAN, "5.9000");  // read back from the image, not the default record
  EXPECT_STREQ(backup.SERIALNO, "40123");

  // Everything but the date and time bytes, which the download stamps, and the checksum.
  const std::vector<uint8_t> approved = ApprovedImage("1045210-004");
  const std::string image = ReadText(memory);
  ASSERT_EQ(image.size(), 8192u);
  EXPECT_EQ(std::vector<uint8_t>(image.begin() + 8, image.begin() + approved.size() - 2),
            std::vector<uint8_t>(approved.begin() + 8, approved.end() - 2));
  const std::span<const uint8_t> written(reinterpret_cast<const uint8_t*>(image.data()),
                                         approved.size());
  EXPECT_EQ(ImageWord(written, approved.size() - 2), SetupChecksum(written));

  result = cli({"setup", "report", "--file", backupFile.filename(), "--out", "report.txt"});
  EXPECT_EQ(result.status, 0) << result.err;
  const std::string report = ReadText(work.Path() / "report.txt");
  EXPECT_EQ(report.rfind("\n\n\n\tActuator Setup Parameters\n\n", 0), 0u);
  EXPECT_NE(report.find("\tZOLT Part Number :\t5000000-000\n"), std::string::npos);
  EXPECT_NE(report.find("\n\tFirmware Version :\t\t3.10\n"), std::string::npos);
}

// The download stops before anything is written: the actuator's memory stays as it was.
TEST(DbIntegrityCli, DownloadOfADamagedOrRefusedSetupWritesNothing) {
  TempFolder work;
  ASSERT_TRUE(work.Valid());
  const fs::path memory = work.Path() / "memory.bin";
  SimProcess sim(UnitHolding001(memory));
  ASSERT_FALSE(sim.Device().empty());
  const std::string damaged = DamagedDatabase(work.Path(), "1045210-004.cfg").string();
  const struct {
    std::string database;
    std::string err;  // what stderr ends with
  } cases[] = {
      {damaged, "Program Error: Configuration database entry 1045210-004.cfg is damaged.\n"},
      // 1045210-004's span of 8.0 in is beyond the setup pages' range.
      {VELMAR_DEMO_DB,
       "MAXFORCE = 1500: Enter an integer between 100 and 1267.\n"
       "Nothing was written; --force downloads these values anyway.\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.database);
    const std::string before = ReadBytes(memory);
    const RunResult result =
        RunProgram({VELMAR_CLI_PATH, "--device", sim.Device(), "--baud", "115200", "--db",
                    c.database, "--yes", "setup", "download", "--config", "1045210-004"},
                   work.Path().string());
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.err.ends_with(c.err)) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(ReadBytes(memory), before);
  }
}

}  // namespace
}  // namespace velmar::test
