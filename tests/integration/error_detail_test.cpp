// The detail below velmar-cli's error messages: the device or file tried, the system's reason
// and the fix.
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/temp_folder.h"
#include "child_process.h"
#include "run_cli.h"

namespace velmar::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPortFailure =
    "Communication Initialization: Serial port initialization failed!  Verify the port exists "
    "and that it is not\nin use by another application.\n";
constexpr const char* kSetpriv = "/usr/bin/setpriv";

// velmar-cli run as a user without access to `device`: root drops to nobody, others find the
// device's mode cleared.
std::vector<std::string> WithoutDeviceAccess(const std::string& device) {
  std::vector<std::string> argv = {VELMAR_CLI_PATH, "--device", device, "version"};
  if (geteuid() == 0) {
    argv.insert(argv.begin(), {kSetpriv, "--reuid=65534", "--regid=65534", "--clear-groups"});
  } else {
    chmod(device.c_str(), 0);
  }
  return argv;
}

TEST(ErrorDetail, PortFailuresNameTheDeviceTheReasonAndTheFix) {
  if (geteuid() == 0 && access(kSetpriv, X_OK) != 0) {
    GTEST_SKIP() << "running as root without " << kSetpriv << " to drop to an unprivileged user";
  }
  SimProcess sim({});
  ASSERT_FALSE(sim.Device().empty());
  const int holder = open(sim.Device().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(ioctl(holder, TIOCEXCL), 0);
  const RunResult busy = RunCli(sim.Device(), {"version"});
  close(holder);
  const RunResult denied = RunProgram(WithoutDeviceAccess(sim.Device()));
  const std::string device = "Device: " + sim.Device() + "\nReason: ";
  const struct {
    const char* name;
    RunResult result;
    std::string detail;    // how the detail begins
    std::string holdLine;  // a line it holds further down
  } cases[] = {
      {"busy", busy, device + "Device or resource busy\n",
       // The simulator holds its own end open too, so the line may come second.
       "Held open by process " + std::to_string(getpid()) +
           " (test_integratio); close that program and try again.\n"},
      {"denied", denied,
       device + "Permission denied\nAdd your user to the dialout group: sudo usermod -aG "
                "dialout $USER, then log in again.\n",
       ""},
      {"COM 2 without VELMAR_COM2",
       RunProgram({"/usr/bin/env", "-u", "VELMAR_COM2", VELMAR_CLI_PATH, "--port", "2", "version"}),
       "Device: /dev/ttyS1\nReason: ", ""},
      {"missing", RunCli("/dev/velmar-no-such-port", {"version"}),
       "Device: /dev/velmar-no-such-port\nReason: No such file or directory\nCheck that the "
       "cable's adapter is connected",
       ""},
      {"not a serial device", RunCli("/dev/null", {"version"}),
       "Device: /dev/null\nReason: Inappropriate ioctl for device\nThis is not a serial device.\n",
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.result.status, 3);
    ASSERT_EQ(c.result.err.rfind(kPortFailure, 0), 0u) << c.result.err;
    const std::string detail = c.result.err.substr(std::string(kPortFailure).size());
    EXPECT_EQ(detail.rfind(c.detail, 0), 0u) << detail;
    EXPECT_NE(detail.find(c.holdLine), std::string::npos) << detail;
  }
}

// A copy of velmar-cli in a folder of its own (bin/ of a moved installation), run from there.
class RelocatedCli : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root.Valid());
    fs::create_directories(root.Path() / "bin");
    fs::create_directories(root.Path() / "work");
    std::error_code error;
    fs::create_hard_link(VELMAR_CLI_PATH, Program(), error);
    if (error) {
      fs::copy_file(VELMAR_CLI_PATH, Program());
    }
  }
  std::string Program() const { return (root.Path() / "bin" / "velmar-cli").string(); }
  RunResult Run(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {Program()};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProgram(argv, (root.Path() / "work").string());
  }

  TempFolder root;
};

TEST_F(RelocatedCli, FindsTheDatabaseInShareBesideItsFolderAndListsEveryPlaceWhenMissing) {
  const fs::path work = root.Path() / "work";
  const RunResult missing = Run({"db", "version"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err,
            "Program Error: Error reading version number and part number configuration file.\n"
            "config.db was not found in any of:\n  " +
                (work / "config.db").string() + "\n  " + (root.Path() / "bin/config.db").string() +
                "\n  " + (root.Path() / "share/velmar/config.db").string() + "\n");

  const RunResult named = Run({"--db", "absent.db", "db", "list"});
  EXPECT_EQ(named.status, 1);
  EXPECT_NE(named.err.find("\nConfiguration database: " + (work / "absent.db").string() +
                           "\nReason: No such file or directory\n"),
            std::string::npos)
      << named.err;

  fs::create_directories(root.Path() / "share/velmar");
  fs::copy_file(VELMAR_DEMO_DB, root.Path() / "share/velmar/config.db");
  const RunResult found = Run({"db", "version"});
  EXPECT_EQ(found.status, 0) << found.err;
}

TEST_F(RelocatedCli, FileErrorsNameTheFileAndTheReasonAndExtractionCreatesItsFolder) {
  fs::create_directories(root.Path() / "share/velmar");
  fs::copy_file(VELMAR_DEMO_DB, root.Path() / "share/velmar/config.db");
  const struct {
    std::vector<std::string> args;
    int status;
    std::string err;
  } cases[] = {
      {{"setup", "save-default", "/nonexistent/x.cfg"},
       1,
       "File Error: Error opening setup parameter file.\nFile: /nonexistent/x.cfg\nReason: No "
       "such file or directory\n"},
      {{"setup", "show", "missing.cfg"},
       1,
       "File Error: Error opening actuator setup file.\nFile: missing.cfg\nReason: No such file "
       "or directory\n"},
      {{"db", "extract", "Configurations.cfg", "--out", "new/folder"}, 0, ""},
      {{"db", "extract", "Configurations.cfg", "--out", "/proc/version/x"},
       1,
       "Program Error: Cannot extract \"Configurations.cfg\": the output folder cannot be "
       "created.\nFolder: /proc/version/x\nReason: Not a directory\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[c.args.size() - 2] + " " + c.args.back());
    const RunResult result = Run(c.args);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.err, c.err);
  }
  EXPECT_TRUE(fs::is_regular_file(root.Path() / "work/new/folder/Configurations.cfg"));
}

}  // namespace
}  // namespace velmar::test
