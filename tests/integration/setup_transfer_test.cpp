// Setup download and upload with velmar-cli against velmar-sim over a pseudo-terminal.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "base/temp_folder.h"
#include "child_process.h"
#include "configdb/configuration_list.h"
#include "configdb/part_catalogue.h"
#include "run_cli.h"
#include "setup/pack_setup.h"
#include "setup/setup_file.h"
#include "setup/setup_page_image.h"
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

TEST(SetupTransferWithSim, DownloadBacksUpTheOldSetupThenLeavesTheChosenImageInMemory) {
  TempFolder work;
  ASSERT_TRUE(work.Valid());
  // The actuator holds 1045210-001, so the backup is a real upload; 1045210-004 goes over it.
  const fs::path memory = work.Path() / "memory.bin";
  std::vector<uint8_t> held = ApprovedImage("1045210-001");
  held.resize(8192);
  std::ofstream(memory, std::ios::binary)
      .write(reinterpret_cast<const char*>(held.data()), static_cast<std::streamsize>(held.size()));
  SimProcess sim({"--firmware", "3.10", "--mode", "crc", "--serial", "40123", "--memory",
                  memory.string(), "--baud", "115200"});
  ASSERT_FALSE(sim.Device().empty());
  const auto cli = [&](std::vector<std::string> words) {
    words.insert(words.begin(), {VELMAR_CLI_PATH, "--device", sim.Device(), "--baud", "115200",
                                 "--db", VELMAR_DEMO_DB, "--yes"});
    return RunProgram(words, work.Path().string());
  };

  RunResult result = cli({"setup", "download", "--config", "1045210-004"});
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

TEST(SetupTransferWithSim, InterruptedDownloadDisablesWritesAndReleasesThePort) {
  TempFolder work;
  ASSERT_TRUE(work.Valid());
  const std::string trace = (work.Path() / "sim.trace").string();
  SimProcess sim({"--firmware", "3.10", "--serial", "40123", "--baud", "115200", "--trace", trace});
  ASSERT_FALSE(sim.Device().empty());
  // The backup upload takes about 2 s, the pages 500 ms each: 6 s in, pages are being written.
  const RunResult result =
      RunProgram({VELMAR_CLI_PATH, "--device", sim.Device(), "--baud", "115200", "--db",
                  VELMAR_DEMO_DB, "--yes", "setup", "download", "--config", "1045210-004"},
                 work.Path().string(), 6000);
  EXPECT_EQ(result.status, 130) << result.err;
  EXPECT_NE(result.err.find("Interrupted: the actuator may hold a partial setup. Download again "
                            "or restore the backup.\n"),
            std::string::npos)
      << result.err;
  EXPECT_EQ(result.out.find("successful"), std::string::npos);
  // What the simulator heard last: pages written, no commit, then the write-disable.
  const std::string heard = ReadText(trace);
  EXPECT_NE(heard.find("[write-words]"), std::string::npos);
  EXPECT_EQ(heard.find("RX 01 0A"), std::string::npos) << "committed";
  EXPECT_EQ(heard.rfind(" RX "), heard.rfind(" RX 01 08 05 96 03 ")) << heard;
  EXPECT_EQ(RunCli(sim.Device(), {"version"}).status, 0);
}

TEST(SetupTransferWithSim, TheSimulatorFreesATerminalWhoseClientDiedHoldingIt) {
  SimProcess sim({});
  ASSERT_FALSE(sim.Device().empty());
  // A client killed outright never clears its exclusive flag.
  const int fd = open(sim.Device().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(ioctl(fd, TIOCEXCL), 0);
  close(fd);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(RunCli(sim.Device(), {"version"}).status, 0);
}

}  // namespace
}  // namespace velmar::test
