// velmar-cli's fault configuration commands against velmar-sim.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/temp_folder.h"
#include "child_process.h"

namespace velmar::test {
namespace {

const std::string kOvercurrent =
    "Overcurrent Fault @0x0500: F1 high=1000 low=- persist=2.00; F2 high=1200 low=- "
    "persist=1.00; options=0x3017\n";
const std::string kRdc =
    "RDC Fault @0x0530: F1 high=- low=- persist=-; F2 high=- low=- persist=-; options=0x3013\n";
const std::string kPlus5V =
    "+5V Fault @0x05B0: F1 high=5.5 low=4.5 persist=1.00; F2 high=5.7 low=4.3 persist=1.00; "
    "options=0x0003\n";

// The confirmation as the console asks it, with the answer given.
std::string Asked(const std::string& answer) {
  return "Verify Fault Configuration Write: Fault configuration will be overwritten. Are you "
         "sure? [y/N] " +
         answer + "\n";
}

RunResult Cli(const SimProcess& sim, std::vector<std::string> command) {
  command.insert(command.begin(), {VELMAR_CLI_PATH, "--device", sim.Device()});
  return RunProgram(command);
}

TEST(FaultConfigCli, ShowSaveSetAndTheirRefusals) {
  TempFolder folder;
  const std::string memory = folder.Path() / "memory.bin";
  const std::string file = folder.Path() / "FaultCfg.cfg";
  {
    SimProcess sim({"--memory", memory});
    ASSERT_FALSE(sim.Device().empty());
    RunResult all = Cli(sim, {"faults", "config", "show"});
    EXPECT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(std::count(all.out.begin(), all.out.end(), '\n'), 13);
    EXPECT_EQ(all.out.rfind(kOvercurrent, 0), 0u) << all.out;
    EXPECT_NE(all.out.find(kRdc), std::string::npos);
    EXPECT_NE(all.out.find(kPlus5V), std::string::npos);

    const struct {
      std::vector<std::string> command;
      int status;
      std::string out;
      std::string err;
    } cases[] = {
        {{"faults", "config", "show", "ovrcur"}, 0, kOvercurrent, ""},
        {{"faults", "config", "show", "0x5B0"}, 0, kPlus5V, ""},
        {{"faults", "config", "show", "0x5A0"},
         1,
         "",
         "Program Error: Undefined Fault Configuration Record address.\n"},
        {{"faults", "config", "show", "NOPE"}, 2, "", ""},
        {{"faults", "config", "write", file}, 1, "", "Program Status: Feature not available.\n"},
        {{"faults", "config", "set", "OVRCUR", "F1_HIGH=1100"},
         1,
         "",
         "Program Status: Feature not available.\n"},
        {{"--service", "--yes", "faults", "config", "set", "OVRCUR", "F1_LOW=5"}, 2, "", ""},
        {{"--service", "--yes", "faults", "config", "set", "OVRCUR", "F1_HIGH=1267.5"},
         1,
         "",
         Asked("yes") +
             "Program Status: Write aborted as Fault 1 High Limit entered is above maximum allowed "
             "value.\n"},
        {{"--service", "faults", "config", "set", "OVRCUR", "F1_HIGH=1100"},
         1,
         "",
         Asked("no") + "Program Status: Fault configuration write aborted.\n"},  // no terminal
        {{"--service", "--yes", "faults", "config", "set", "ovrcur", "f1_high=1267.4",
          "-F2_ENABLE"},
         0,
         "Program Status: Fault configuration data written successfully.\n",
         Asked("yes")},
        {{"faults", "config", "show", "OVRCUR"},
         0,
         "Overcurrent Fault @0x0500: F1 high=1267 low=- persist=2.00; F2 high=1200 low=- "
         "persist=1.00; options=0x1005\n",
         ""},
        {{"faults", "config", "save", file}, 0, "", ""},
    };
    for (const auto& c : cases) {
      const RunResult result = Cli(sim, c.command);
      SCOPED_TRACE(c.command.back());
      EXPECT_EQ(result.status, c.status) << result.err;
      EXPECT_EQ(result.out, c.out);
      if (c.status != 2) {
        EXPECT_EQ(result.err, c.err);
      }
    }
  }
  std::ifstream in(file, std::ios::binary);
  const std::string saved(std::istreambuf_iterator<char>(in), {});
  EXPECT_NE(saved.find("OVRCUR_HI_LIM = 1267\r\nOVRCUR_LO_LIM = 0\r\n"), std::string::npos);
  EXPECT_EQ(saved.substr(saved.size() - 10), "\r\n;  end\r\n");

  // The memory file keeps the write; a unit outside RESET and a dead line are refused.
  SimProcess running({"--memory", memory, "--state", "run-on"});
  RunResult result = Cli(running, {"faults", "config", "show", "OVRCUR"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err,
            "Program Status: Actuator must be in RESET state to read fault configuration.\n");
  // Version, status, three reads, status: then the write-enable is lost, the disable is not.
  SimProcess lossy({"--memory", memory, "--lose-requests", "6:3"});
  result = Cli(lossy, {"--service", "--yes", "faults", "config", "set", "OVRCUR", "+F2_ENABLE"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, Asked("yes") +
                            "Program Error: Open Actuator config data error.\nProgram Error: "
                            "Communication error.\n");
  result = Cli(lossy, {"faults", "config", "show", "OVRCUR"});
  EXPECT_EQ(result.out,
            "Overcurrent Fault @0x0500: F1 high=1267 low=- persist=2.00; F2 high=1200 low=- "
            "persist=1.00; options=0x1005\n");
}

TEST(FaultConfigCli, ConversionsTakeHexadecimalAsTheWindowsDo) {
  const auto convert = [](const std::string& name, const std::string& value) {
    const RunResult result = RunProgram({VELMAR_CLI_PATH, "convert", name, value});
    EXPECT_EQ(result.status, 0) << result.err;
    return result.out;
  };
  EXPECT_EQ(convert("counts-to-degc", "0x200"), "75\n");
  EXPECT_EQ(convert("window-degc-to-counts", "0x4B"), convert("window-degc-to-counts", "75"));
  // Beyond either end of the curve: that end's count.
  EXPECT_EQ(convert("window-degc-to-counts", "1000"), "0\n");
  EXPECT_EQ(convert("window-degc-to-counts", "-100"), "1023\n");
}

}  // namespace
}  // namespace velmar::test
