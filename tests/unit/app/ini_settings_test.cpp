#include "app/ini_settings.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/recording_ui.h"
#include "support/virtual_clock.h"

namespace velmar {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class IniSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "ini_settings_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    home_ = root_ / "config";
    folder_ = home_ / "Corvane" / "Quenda_2.30";
    file_ = folder_ / "velmar.ini";
  }
  void TearDown() override { fs::remove_all(root_); }

  void WriteSettingsFile(const std::string& bytes) {
    fs::create_directories(folder_);
    std::ofstream(file_, std::ios::binary) << bytes;
  }
  std::string ReadSettingsFile() const {
    std::ifstream in(file_, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  std::vector<std::string> FolderEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }
  static std::string Cwd() { return fs::current_path().string(); }

  fs::path root_;
  fs::path home_;
  fs::path folder_;
  fs::path file_;
  test::RecordingUi ui_;
  test::VirtualClock clock_;
};

TEST_F(IniSettingsTest, FirstRunCreatesDefaultFileAndReadsItBack) {
  IniSettings settings(home_.string());
  ASSERT_EQ(settings.Load(ui_, clock_), 0);

  EXPECT_EQ(ReadSettingsFile(), "#\n# Velmar.ini\n#\nEXEPATH = " + Cwd() +
                                    "\nBAUD = 19200\nPORT = 1\nNODE = 0\nOPTIONS = 3\n"
                                    "SETUPFILE = default.act\n");
  EXPECT_EQ(settings.baud, "19200");
  EXPECT_EQ(settings.port, "1");
  EXPECT_EQ(settings.node, "0");
  EXPECT_EQ(settings.options, "3");
  EXPECT_EQ(settings.setupFile, "DEFAULT.ACT");
  EXPECT_EQ(settings.startDrive, "0");
  EXPECT_EQ(settings.startupDir, Cwd());
  EXPECT_EQ(settings.appDataDir, home_.string());

  const std::vector<std::string> expected = {
      "Progress|Loading initialization parameters...",
      "Position|13",
      "Status|Loading Initialization Parameters...",
      "Position|26",
      "Position|39",
      "Position|52",
      "Position|65",
      "Position|78",
      "Position|91",
      "Position|100",
      "EndProgress",
  };
  EXPECT_EQ(ui_.events, expected);
  EXPECT_EQ(clock_.sleeps, (std::vector<int>{50, 50, 50, 50, 50, 50, 100}));
}

TEST_F(IniSettingsTest, LoadReadsKeysByFragmentAndValidates) {
  struct Case {
    std::string file;
    std::string IniSettings::*field;
    const char* value;
  };
  const Case cases[] = {
      {"baud=38400\n", &IniSettings::baud, "38400"},
      {"Baud = 1200\n", &IniSettings::baud, "19200"},
      {"BAUD = 57600\nBAUD\n", &IniSettings::baud, "57600"},  // no value: keeps the last one
      {"BAUD = 9600xyz\n", &IniSettings::baud, "9600XYZ"},    // leading number is valid
      {"PORT = 7\n", &IniSettings::port, "1"},
      {"PORT = 0\n", &IniSettings::port, "1"},
      {"PORT = 4\r\n", &IniSettings::port, "4"},
      {"PORT=2", &IniSettings::port, "2"},  // no final line end
      {"PORT = 2\tjunk\n", &IniSettings::port, "2"},
      {"PORTABLE = 3\n", &IniSettings::port, "3"},
      {"# PORT = 2\n", &IniSettings::port, "1"},
      {"2PORT = 2\n", &IniSettings::port, "1"},
      {" PORT = 2\n", &IniSettings::port, "1"},
      {std::string(130, 'X') + "PORT = 3\n", &IniSettings::port,
       "1"},  // past the line limit: ignored
      {"EXEPATH2 = /opt/x\n", &IniSettings::exePath, "/OPT/X"},
      {"SETUPFILE = my setup.act\n", &IniSettings::setupFile, "MY"},
      {"setupfile = default.act\n", &IniSettings::setupFile, "DEFAULT.ACT"},
      {"SETUPFILE =\n", &IniSettings::setupFile, "default.act"},
      {"NODE = 255\n", &IniSettings::node, "255"},
      {"NODE = 256\n", &IniSettings::node, "0"},
      {"NODE = -1\n", &IniSettings::node, "0"},
      {"NODE = FaultTest2\n", &IniSettings::node, "FAULTTEST2"},
      {"OPT = 2\n", &IniSettings::options, "2"},
      {"OPTIONS = 0\nOPTIONS = 1\n", &IniSettings::options, "1"},
      {"\0\xff\xfePORT=2\n\x80PORT=3\n"s, &IniSettings::port, "1"},  // not letters
      {std::string(100000, 'A'), &IniSettings::baud, "19200"},
      {"A\nB\nC\nD\nE\nF\nG\nH\nI\nPORT = 3\n", &IniSettings::port, "3"},
  };
  for (const Case& c : cases) {
    WriteSettingsFile(c.file);
    IniSettings settings(home_.string());
    test::RecordingUi ui;
    EXPECT_EQ(settings.Load(ui, clock_), 0) << c.file;
    EXPECT_EQ(settings.*c.field, c.value) << c.file;
    const std::vector<int> positions = ui.Positions();
    EXPECT_LE(*std::max_element(positions.begin(), positions.end()), 100) << c.file;
  }
}

TEST_F(IniSettingsTest, ConfigHomeComesFromTheEnvironment) {
  struct Case {
    const char* xdg;
    fs::path expected;
  };
  const Case cases[] = {
      {"", root_ / ".config"}, {"relative", root_ / ".config"}, {home_.c_str(), home_}};
  const char* home = std::getenv("HOME");
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const std::string savedHome = home != nullptr ? home : "";
  const std::string savedXdg = xdg != nullptr ? xdg : "";
  setenv("HOME", root_.c_str(), 1);
  for (const Case& c : cases) {
    setenv("XDG_CONFIG_HOME", c.xdg, 1);
    IniSettings settings;
    test::RecordingUi ui;
    EXPECT_EQ(settings.Load(ui, clock_), 0) << c.xdg;
    EXPECT_EQ(settings.appDataDir, c.expected.string()) << c.xdg;
    EXPECT_TRUE(fs::exists(c.expected / "Corvane" / "Quenda_2.30" / "velmar.ini")) << c.xdg;
  }
  setenv("HOME", savedHome.c_str(), 1);
  setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
}

TEST_F(IniSettingsTest, SaveWritesExactLayoutAndProgress) {
  WriteSettingsFile("BAUD = 38400\nPORT = 2\n");
  IniSettings settings(home_.string());
  ASSERT_EQ(settings.Load(ui_, clock_), 0);
  settings.port = "3";
  settings.options = "0";
  ui_.events.clear();
  clock_.sleeps.clear();

  ASSERT_EQ(settings.Save(ui_, clock_), 0);
  EXPECT_EQ(ReadSettingsFile(), "#\n# Velmar.ini\n#\nEXEPATH = " + Cwd() +
                                    "\nBAUD = 38400\nPORT = 3\nNODE = 0\nOPTIONS = 0\n"
                                    "SETUPFILE = default.act\n");
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"velmar.ini"});
  EXPECT_EQ(ui_.events[2], "Status|Saving Initialization Parameters...");
  EXPECT_EQ(ui_.Positions(), (std::vector<int>{13, 26, 39, 52, 65, 78, 100}));
  EXPECT_EQ(ui_.events.back(), "EndProgress");
  EXPECT_EQ(clock_.sleeps, (std::vector<int>(6, 40)));

  // What was saved loads back unchanged.
  IniSettings reloaded(home_.string());
  ASSERT_EQ(reloaded.Load(ui_, clock_), 0);
  EXPECT_EQ(reloaded.port, "3");
  EXPECT_EQ(reloaded.options, "0");
  EXPECT_EQ(reloaded.baud, "38400");
}

TEST_F(IniSettingsTest, LoadFailuresCloseTheWindowFirst) {
  struct Case {
    fs::path blocker;  // a plain file where a directory belongs, or a directory for the file
    bool blockerIsDirectory;
    const char* message;
  };
  const Case cases[] = {
      {"Corvane", false, "Error creating Corvane directory."},
      {"Corvane/Quenda_2.30", false, "Error creating Quenda_2.30 directory."},
      {"Corvane/Quenda_2.30/velmar.ini", true, "Error opening VELMAR.INI file."},
  };
  for (const Case& c : cases) {
    fs::remove_all(home_);
    const fs::path blocker = home_ / c.blocker;
    fs::create_directories(blocker.parent_path());
    if (c.blockerIsDirectory) {
      fs::create_directories(blocker / "keep");
    } else {
      std::ofstream(blocker) << "x";
    }
    IniSettings settings(home_.string());
    test::RecordingUi ui;
    EXPECT_EQ(settings.Load(ui, clock_), -1) << c.message;
    ASSERT_GE(ui.events.size(), 2u);
    EXPECT_EQ(ui.events[ui.events.size() - 2], "EndProgress");
    EXPECT_EQ(ui.events.back(), std::string("Error|Open VELMAR.INI File|") + c.message);
    EXPECT_EQ(settings.options, "1");  // in-memory defaults stay
    EXPECT_TRUE(fs::exists(blocker));
  }
}

TEST_F(IniSettingsTest, FailedSaveKeepsTheOldFile) {
  const std::string old = "PORT = 4\n";
  WriteSettingsFile(old);
  IniSettings settings(home_.string());
  ASSERT_EQ(settings.Load(ui_, clock_), 0);

  // The file system refuses more than a few bytes per file.
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 20;
  setrlimit(RLIMIT_FSIZE, &small);
  test::RecordingUi ui;
  const int result = settings.Save(ui, clock_);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(result, -1);
  EXPECT_EQ(ui.events[ui.events.size() - 2], "EndProgress");
  EXPECT_EQ(ui.events.back(), "Error|Write VELMAR.INI File|Error writing VELMAR.INI file.");
  EXPECT_EQ(ReadSettingsFile(), old);
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"velmar.ini"});

  // No folder to write into.
  fs::remove_all(home_);
  test::RecordingUi noFolderUi;
  EXPECT_EQ(settings.Save(noFolderUi, clock_), -1);
  EXPECT_EQ(noFolderUi.events.back(),
            "Error|Write VELMAR.INI File|Error opening VELMAR.INI file for writing.");
}

}  // namespace
}  // namespace velmar
