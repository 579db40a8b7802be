// Setup download and upload with velmar-cli against velmar-sim over a pseudo-terminal.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "base/temp_folder.h"
#include "child_process.h"
#include "configdb/configuration_list.h"
#include "configdb/part_catalogue.h"
#include "damaged_database.h"
#include "run_cli.h"
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

std::vector<fs::path> Backups(const fs::path& folder) {
  std::vector<fs::path> backups;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename().string().rfind("backup-40123-", 0) == 0) {
      backups.push_back(entry.path());
    }
  }
  std::sort(backups.begin(), backups.end());
  return backups;
}

// Everything but the date and time bytes, which the download stamps, and the checksum.
std::vector<uint8_t> Body(const std::string& image, std::size_t size) {
  return {image.begin() + 8, image.begin() + static_cast<long>(size) - 2};
}

// velmar-cli against a velmar-sim for unit 40123 on firmware 3.10 whose memory holds `held`.
class SetupDownloadWithSim : public ::testing::Test {
 protected:
  void Start(std::vector<uint8_t> held) {
    ASSERT_TRUE(work.Valid());
    held.resize(8192);
    std::ofstream(memory, std::ios::binary)
        .write(reinterpret_cast<const char*>(held.data()),
               static_cast<std::streamsize>(held.size()));
    sim = std::make_unique<SimProcess>(
        std::vector<std::string>{"--firmware", "3.10", "--mode", "crc", "--serial", "40123",
                                 "--memory", memory.string(), "--baud", "115200"});
    ASSERT_FALSE(sim->Device().empty());
  }

  RunResult Cli(std::vector<std::string> words) {
    words.insert(words.begin(), {VELMAR_CLI_PATH, "--device", sim->Device(), "--baud", "115200",
                                 "--db", VELMAR_DEMO_DB, "--yes"});
    return RunProgram(words, work.Path().string());
  }

  TempFolder work;
  fs::path memory = work.Path() / "memory.bin";
  std::unique_ptr<SimProcess> sim;
};

constexpr const char* kDownloaded =
    "Setup Com Status: Setup download successful.\n\nNOTE: The Orvik part number on the "
    "nameplate must be\nre-identified to reflect the downloaded Orvik part number!\n";

TEST_F(SetupDownloadWithSim, DownloadBacksUpTheOldSetupAndTheBackupRestoresIt) {
  // The actuator holds 1045210-001, so the backup is a real upload; 1045210-004 goes over it.
  const std::vector<uint8_t> held = ApprovedImage("1045210-001");
  Start(held);

  RunResult result = Cli({"setup", "download", "--config", "1045210-004", "--force"});
  EXPECT_EQ(result.status, 0) << result.err;
  std::vector<fs::path> backups = Backups(work.Path());
  ASSERT_EQ(backups.size(), 1u);
  const fs::path backupFile = backups.front();
  EXPECT_EQ(result.out, "Saving the actuator's setup as " + backupFile.filename().string() + "\n" +
                            kDownloaded);
  EXPECT_NE(result.err.find("Setup Download: Current setup parameters will be overwritten.\n\n"
                            "Configuration 1045210-004\nActuator serial number 40123, part "
                            "number 5000000-000\n\nProceed with download? [y/N] yes\n"),
            std::string::npos)
      << result.err;
  RecordingUi ui;
  SetupParameters backup;
  ASSERT_EQ(LoadSetupFileByName(backup, backupFile.string(), ui), FileResult::kOk);
  EXPECT_STREQ(backup.PARTNO, "5000000-000");
  EXPECT_STREQ(backup.SPAN, "5.9000");  // read back from the image, not the default record
  EXPECT_STREQ(backup.SERIALNO, "40123");

  const std::vector<uint8_t> approved = ApprovedImage("1045210-004");
  std::string image = ReadText(memory);
  ASSERT_EQ(image.size(), 8192u);
  EXPECT_EQ(Body(image, approved.size()),
            Body(std::string(approved.begin(), approved.end()), approved.size()));
  const std::span<const uint8_t> written(reinterpret_cast<const uint8_t*>(image.data()),
                                         approved.size());
  EXPECT_EQ(ImageWord(written, approved.size() - 2), SetupChecksum(written));

  result = Cli({"setup", "report", "--file", backupFile.filename(), "--out", "report.txt"});
  EXPECT_EQ(result.status, 0) << result.err;
  const std::string report = ReadText(work.Path() / "report.txt");
  EXPECT_EQ(report.rfind("\n\n\n\tActuator Setup Parameters\n\n", 0), 0u);
  EXPECT_NE(report.find("\tZOLT Part Number :\t5000000-000\n"), std::string::npos);
  EXPECT_NE(report.find("\n\tFirmware Version :\t\t3.10\n"), std::string::npos);
  // A report that cannot be written, to a file or to the standard output, fails with the reason.
  result = Cli({"setup", "report", "--out", "/dev/full"});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(
      result.err.find("cannot write /dev/full\nFile: /dev/full\nReason: No space left on device"),
      std::string::npos)
      << result.err;
  result =
      RunProgram({"/bin/sh", "-c", "exec \"$0\" \"$@\" >/dev/full", VELMAR_CLI_PATH, "--device",
                  sim->Device(), "--baud", "115200", "--db", VELMAR_DEMO_DB, "setup", "report"},
                 work.Path().string());
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("No space left on device"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("Print Error: The report could not be printed.\n"), std::string::npos);

  // Restoring the backup puts the old setup back, and backs up the new one under its own name
  // even within the same second.
  result = Cli({"setup", "download", "--file", backupFile.filename()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.err.find("Setup file " + backupFile.filename().string() +
                            "\nActuator serial number 40123, part number 5000520-020\n"),
            std::string::npos)
      << result.err;
  EXPECT_EQ(Backups(work.Path()).size(), 2u);
  image = ReadText(memory);
  EXPECT_EQ(Body(image, held.size()), Body(std::string(held.begin(), held.end()), held.size()));
}

// What each refused download says and exits with; nothing reaches the actuator's memory.
TEST_F(SetupDownloadWithSim, RefusedDownloadsWriteNothing) {
  const std::vector<uint8_t> held = ApprovedImage("1045210-001");
  Start(held);
  const fs::path foreign = work.Path() / "foreign.cfg";
  std::ofstream(foreign) << "SERIALNO = 100000\r\nSPAN = 4.5\r\n";
  const struct {
    std::vector<std::string> words;
    int status;
    std::string err;  // a part of the standard error
    std::size_t backups;
  } cases[] = {
      {{},
       2,
       "--config CUSTOMERPARTNO or --file FILE is needed\nUsage: velmar-cli [options] setup "
       "download --config CUSTOMERPARTNO | --file FILE [--force] [--no-verify]\nConfigurations for "
       "firmware 3.10:\n"
       "  1045210-001    Stand alone 5.9 in stroke analog command\n"
       "  1045210-004    RS-485 command 8.0 in stroke\n"
       "  1045210-005    Valve seating 6.0 in stroke\n",
       0},
      {{"--config", "1045210-004", "--file", "foreign.cfg"},
       2,
       "--config and --file exclude each other",
       0},
      {{"--config", "1045210-002"},
       1,
       "configuration 1045210-002 is not offered for firmware 3.10",
       0},
      {{"--file", "missing.cfg"}, 1, "File Error: Error opening actuator setup file.\n", 0},
      {{"--file", "foreign.cfg", "--force"},
       1,
       "Setup Com Status: Actuator serial number invalid!\n",
       1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.err);
    for (const fs::path& backup : Backups(work.Path())) {
      fs::remove(backup);
    }
    std::vector<std::string> words = {"setup", "download"};
    words.insert(words.end(), c.words.begin(), c.words.end());

    const RunResult result = Cli(words);

    EXPECT_EQ(result.status, c.status);
    EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
    EXPECT_EQ(Backups(work.Path()).size(), c.backups);
    EXPECT_EQ(ReadText(memory).substr(0, held.size()), std::string(held.begin(), held.end()));
  }
}

// A bad checksum in the uploaded backup is shown, but the download that follows decides the exit.
TEST_F(SetupDownloadWithSim, BackupWarningDoesNotFailASuccessfulDownload) {
  std::vector<uint8_t> held = ApprovedImage("1045210-001");
  held[held.size() - 1] ^= 0x5A;
  Start(held);

  const RunResult result = Cli({"setup", "download", "--config", "1045210-004", "--force"});

  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.err.find("Setup Com Error: Setup data checksum is invalid!\n"),
            std::string::npos);
  EXPECT_NE(result.out.find(kDownloaded), std::string::npos);
}

TEST(SetupTransferWithSim, InterruptedDownloadDisablesWritesAndReleasesThePort) {
  TempFolder work;
  ASSERT_TRUE(work.Valid());
  const std::string trace = (work.Path() / "sim.trace").string();
  SimProcess sim({"--firmware", "3.10", "--serial", "40123", "--baud", "115200", "--trace", trace});
  ASSERT_FALSE(sim.Device().empty());
  // The backup upload takes about 2 s, the pages 500 ms each: 6 s in, pages are being written.
  const RunResult result = RunProgram(
      {VELMAR_CLI_PATH, "--device", sim.Device(), "--baud", "115200", "--db", VELMAR_DEMO_DB,
       "--yes", "setup", "download", "--config", "1045210-004", "--force"},
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

// A damaged entry or values the setup pages refuse stop the download after the backup: the
// actuator's memory stays as it was.
TEST_F(SetupDownloadWithSim, DamagedOrRefusedSetupWritesNothing) {
  const std::vector<uint8_t> held = ApprovedImage("1045210-001");
  Start(held);
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
    const RunResult result =
        RunProgram({VELMAR_CLI_PATH, "--device", sim->Device(), "--baud", "115200", "--db",
                    c.database, "--yes", "setup", "download", "--config", "1045210-004"},
                   work.Path().string());
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.err.ends_with(c.err)) << result.err;
    EXPECT_EQ(result.out.find("successful"), std::string::npos);
    EXPECT_EQ(ReadText(memory).substr(0, held.size()), std::string(held.begin(), held.end()));
  }
}

}  // namespace
}  // namespace velmar::test
