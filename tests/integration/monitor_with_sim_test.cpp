// velmar-cli's monitoring and service commands against velmar-sim over a pseudo-terminal.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "child_process.h"

namespace velmar::test {
namespace {

RunResult Cli(const std::string& device, const std::vector<std::string>& command,
              int interruptAfterMs = -1) {
  std::vector<std::string> argv = {VELMAR_CLI_PATH, "--device", device};
  argv.insert(argv.end(), command.begin(), command.end());
  return RunProgram(argv, "", interruptAfterMs);
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

struct TempFolder {
  TempFolder() {
    char pattern[] = "/tmp/velmar-monitor-test-XXXXXX";
    path = mkdtemp(pattern);
  }
  ~TempFolder() { std::filesystem::remove_all(path); }
  std::filesystem::path path;
};

const std::string kCsvHeader =
    "time_s,motor_current_a,position_pct,demand_pct,motor_temp1_c,motor_temp2_c,motor_temp3_c,"
    "elec_temp_c,p14_v,n14_v,p120_v,mode,fault_bits\n";

// Still values: 12.5 A, position 37 %, demand input half way, a +14 V fault on firmware 3.10.
const std::vector<std::string> kStillStatus = {
    "--status", "travel=0",          "--status", "motor-current=512",
    "--status", "position=728000",   "--status", "demand=0x99990000",
    "--status", "fault-bits=0x0040", "--status", "motor-temp1=512"};

TEST(MonitorWithSim, StatusPrintsOneReadingAsTheWindowShowsIt) {
  SimProcess sim(kStillStatus);
  ASSERT_FALSE(sim.Device().empty());
  const RunResult result = Cli(sim.Device(), {"status", "--interval", "0"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "Motor Current (A) = 12.5 [50]\n"
            "Position (%) = 37.0 [37]\n"
            "Demand (%) = 50.0 [50]\n"
            "Motor Temp 1 (C) = 75 [50]\n"
            "Motor Temp 2 (C) = 25 [17]\n"
            "Motor Temp 3 (C) = 25 [17]\n"
            "Elec Temp (C) = 25 [17]\n"
            "+14 V = 14.0 [70]\n"
            "-14 V = -14.0 [70]\n"
            "+120 V = 120 [60]\n"
            "Mode = Reset\n"
            "Faults = +14 Volts\n");
}

TEST(MonitorWithSim, WatchWritesTheCsvAndEndsCleanlyOnCtrlC) {
  SimProcess sim(kStillStatus);
  TempFolder folder;
  const std::filesystem::path csv = folder.path / "readings.csv";
  const std::string row = ",12.5,37.0,50.0,75,25,25,25,14.0,-14.0,120,Reset,0x0040\n";

  RunResult result =
      Cli(sim.Device(), {"status", "--watch", "--interval", "0", "--count", "3", "--csv", csv});
  EXPECT_EQ(result.status, 0) << result.err;
  const std::string written = ReadFile(csv);
  EXPECT_EQ(written, result.out);
  ASSERT_EQ(written.rfind(kCsvHeader, 0), 0u);
  std::istringstream rows(written.substr(kCsvHeader.size()));
  int count = 0;
  double previous = -1;
  for (std::string line; std::getline(rows, line); ++count) {
    EXPECT_EQ(line.substr(line.find(',')) + "\n", row);
    const double time = std::stod(line);
    EXPECT_GT(time, previous);
    previous = time;
  }
  EXPECT_EQ(count, 3);

  // No count: readings until Ctrl-C, the file then complete.
  std::filesystem::remove(csv);
  result = Cli(sim.Device(), {"status", "--watch", "--interval", "100", "--csv", csv}, 1200);
  EXPECT_EQ(result.status, 0) << result.err;
  const std::string interrupted = ReadFile(csv);
  EXPECT_EQ(interrupted, result.out);
  EXPECT_EQ(interrupted.back(), '\n');
  EXPECT_GE(std::count(interrupted.begin(), interrupted.end(), '\n'), 2);
  EXPECT_FALSE(std::filesystem::exists(folder.path / "readings.csv.tmp"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(MonitorWithSim, DiagnosePrintsItsStatusLinesAndReport) {
  SimProcess sim({});
  TempFolder folder;
  const std::filesystem::path out = folder.path / "diagnostic.txt";
  RunResult result = Cli(sim.Device(), {"diagnose", "--out", out});
  EXPECT_EQ(result.status, 0) << result.err;
  const std::string lines =
      "Executing Communications Test...\nCommunications Test passed.\n"
      "Executing Setup Parameters Integrity Test...\nSetup Parameters Integrity Test passed.\n";
  EXPECT_EQ(result.out.rfind(lines, 0), 0u) << result.out;
  const std::string report = ReadFile(out);
  EXPECT_EQ(result.out.substr(result.out.size() - report.size()), report);
  EXPECT_NE(result.out.find("All Diagnostic Tests passed.\n"), std::string::npos);
  EXPECT_NE(report.find("\tFault File Test :\t\t\t\tOK\n\n\n"), std::string::npos);

  SimProcess running({"--state", "run-on"});
  result = Cli(running.Device(), {"diagnose"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err,
            "Program Error: Actuator must be in RESET state to run identification check.\n");
}

TEST(MonitorWithSim, ServiceCommandsOnlyWithTheServiceSwitch) {
  // Without --service nothing is even opened: a missing device is no port failure.
  const struct {
    std::vector<std::string> command;
    std::string err;
  } refused[] = {
      {{"hours", "reset"}, "Reset Run Hours Status: Feature not available.\n"},
      {{"memory", "read", "0x20"}, "Program Status: Feature not available.\n"},
      {{"memory", "write", "0x20", "5"}, "Program Status: Feature not available.\n"},
  };
  for (const auto& c : refused) {
    const RunResult result = Cli("/dev/velmar-no-such-port", c.command);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, c.err);
  }

  SimProcess sim({"--run-hours", "1232"});
  RunResult result = Cli(sim.Device(), {"--service", "hours", "reset"});  // No without --yes
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(Cli(sim.Device(), {"hours", "run"}).out, "Run Hours Status: 1232 Hours\n");
  result = Cli(sim.Device(), {"--service", "--yes", "hours", "reset"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(Cli(sim.Device(), {"hours", "run"}).out, "Run Hours Status: 0 Hours\n");

  EXPECT_EQ(Cli(sim.Device(), {"--service", "memory", "write", "0x20", "0x12345"}).status, 0);
  EXPECT_EQ(Cli(sim.Device(), {"--service", "memory", "read", "0x20", "--hex"}).out, "0x2345\n");
  EXPECT_EQ(Cli(sim.Device(), {"--service", "memory", "read", "32"}).out, "9029\n");
  result = Cli(sim.Device(), {"--service", "memory", "write", "", "7"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "Program Error: Enter a number in Address and in Data.\n");
}

}  // namespace
}  // namespace velmar::test
