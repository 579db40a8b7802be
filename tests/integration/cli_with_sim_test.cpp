// velmar-cli against velmar-sim over a pseudo-terminal, as a technician's bench would run them.
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <utility>

#include "child_process.h"
#include "run_cli.h"

namespace velmar::test {
namespace {

TEST(CliWithSim, ReadsVersionIdentificationAndHoursInEitherFrameMode) {
  // 2.05 speaks sum frames, counts run hours in fours and has no powered hours counter.
  for (const std::string firmware : {"3.10", "2.05"}) {
    SCOPED_TRACE(firmware);
    const bool old = firmware == "2.05";
    SimProcess sim({"--mode", old ? "sum" : "crc", "--firmware", firmware, "--serial", "40123",
                    "--model", "LMX4100-262K", "--part", "5012345-001", "--run-hours", "1232",
                    "--powered-hours", "5678"});
    ASSERT_FALSE(sim.Device().empty());
    const struct {
      std::vector<std::string> command;
      std::string out;
      std::string err;
    } cases[] = {
        {{"version"}, "Firmware Version: Actuator firmware version is " + firmware + "\n", ""},
        {{"identify"},
         "Serial Number: 40123\nModel Number: LMX4100-262K\nPart Number: 5012345-001\n",
         ""},
        {{"hours", "run"}, "Run Hours Status: 1232 Hours\n", ""},
        {{"hours", "powered"},
         old ? "" : "Powered Hours Status: 5678 Hours\n",
         old ? "Program Error: Powered Hours feature not supported by this firmware version.\n"
             : ""}};
    for (const auto& c : cases) {
      const RunResult result = RunCli(sim.Device(), c.command);
      EXPECT_EQ(result.status, c.err.empty() ? 0 : 1);
      EXPECT_EQ(result.out, c.out);
      EXPECT_EQ(result.err, c.err);
    }
  }
}

TEST(CliWithSim, PortsThatCannotBeOpenedEndWithStatus3) {
  const std::string failure =
      "Communication Initialization: Serial port initialization failed!  Verify the port exists "
      "and that it is not\nin use by another application.\n";
  RunResult result = RunCli("/dev/velmar-no-such-port", {"version"});
  EXPECT_EQ(result.status, 3);
  EXPECT_EQ(result.err.rfind(failure + "Device: /dev/velmar-no-such-port\n", 0), 0u) << result.err;

  SimProcess sim({});
  const int fd = open(sim.Device().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(ioctl(fd, TIOCEXCL), 0);  // held by another program
  result = RunCli(sim.Device(), {"version"});
  close(fd);
  EXPECT_EQ(result.status, 3);
  EXPECT_EQ(result.err.rfind(failure, 0), 0u) << result.err;
}

TEST(CliWithSim, UsageErrorsEndWithStatus2) {
  const std::pair<std::vector<std::string>, int> cases[] = {
      {{VELMAR_CLI_PATH}, 2},
      {{VELMAR_CLI_PATH, "frobnicate"}, 2},
      {{VELMAR_CLI_PATH, "--port", "9", "version"}, 2},
      {{VELMAR_CLI_PATH, "version", "extra"}, 2},
      {{VELMAR_CLI_PATH, "--help"}, 0},
      {{VELMAR_CLI_PATH, "hours", "run", "--help"}, 0}};
  for (const auto& [argv, status] : cases) {
    EXPECT_EQ(RunProgram(argv).status, status) << argv.back();
  }
}

}  // namespace
}  // namespace velmar::test
