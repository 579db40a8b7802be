// velmar-cli against velmar-sim over a pseudo-terminal, as a technician's bench would run them.
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "child_process.h"

namespace velmar::test {
namespace {

RunResult Cli(const std::string& device, const std::vector<std::string>& command) {
  std::vector<std::string> argv = {VELMAR_CLI_PATH, "--device", device};
  argv.insert(argv.end(), command.begin(), command.end());
  return RunProgram(argv);
}

TEST(CliWithSim, ReadsVersionIdentificationAndHoursInEitherFrameMode) {
  for (const char* mode : {"sum", "crc"}) {
    SCOPED_TRACE(mode);
    SimProcess sim({"--mode", mode, "--firmware", "3.10", "--serial", "40123", "--model",
                    "LMX4100-262K", "--part", "5012345-001", "--run-hours", "1234",
                    "--powered-hours", "5678"});
    ASSERT_FALSE(sim.Device().empty());
    struct Case {
      std::vector<std::string> command;
      std::string out;
    };
    const std::vector<Case> cases = {
        {{"version"}, "Firmware Version: Actuator firmware version is 3.10\n"},
        {{"identify"},
         "Serial Number: 40123\nModel Number: LMX4100-262K\nPart Number: 5012345-001\n"},
        {{"hours", "run"}, "Run Hours Status: 1234 Hours\n"},
        {{"hours", "powered"}, "Powered Hours Status: 5678 Hours\n"},
    };
    for (const Case& c : cases) {
      RunResult result = Cli(sim.Device(), c.command);
      EXPECT_EQ(result.status, 0) << result.err;
      EXPECT_EQ(result.out, c.out);
    }
  }
}

TEST(CliWithSim, OldFirmwareGetsTheNotSupportedWarning) {
  SimProcess sim({"--mode", "sum", "--firmware", "2.05"});
  RunResult result = Cli(sim.Device(), {"hours", "powered"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err,
            "Program Error: Powered Hours feature not supported by this firmware version.\n");
}

TEST(CliWithSim, PortsThatCannotBeOpenedEndWithStatus3) {
  const std::string failure =
      "Communication Initialization: Serial port initialization failed!  Verify the port exists "
      "and that it is not\nin use by another application.\n";
  {
    SCOPED_TRACE("missing device");
    RunResult result = Cli("/dev/velmar-no-such-port", {"version"});
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.err, failure + "No such file or directory\n");
  }
  {
    SCOPED_TRACE("device held by another program");
    SimProcess sim({});
    int fd = open(sim.Device().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ioctl(fd, TIOCEXCL), 0);
    RunResult result = Cli(sim.Device(), {"version"});
    close(fd);
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.err.rfind(failure, 0), 0u) << result.err;
  }
}

TEST(CliWithSim, SilentLineEndsWithTheVersionWarning) {
  int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  RunResult result = Cli(ptsname(master), {"version"});
  close(master);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "Program Error: Actuator failed to respond to firmware version request.\n");
}

TEST(CliWithSim, UsageErrorsEndWithStatus2) {
  struct Case {
    std::vector<std::string> argv;
    int status;
  };
  const std::vector<Case> cases = {
      {{VELMAR_CLI_PATH}, 2},
      {{VELMAR_CLI_PATH, "frobnicate"}, 2},
      {{VELMAR_CLI_PATH, "--port", "9", "version"}, 2},
      {{VELMAR_CLI_PATH, "version", "extra"}, 2},
      {{VELMAR_CLI_PATH, "--help"}, 0},
      {{VELMAR_CLI_PATH, "hours", "run", "--help"}, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RunProgram(c.argv).status, c.status) << c.argv.back();
  }
}

}  // namespace
}  // namespace velmar::test
