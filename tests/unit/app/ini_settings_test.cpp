#include "app/ini_settings.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "base/temp_folder.h"
#include "support/file_bytes.h"
#include "support/recording_ui.h"
#include "support/virtual_clock.h"

namespace velmar {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class IniSettingsTest : public ::testing::Test {
 protected:
  void WriteFile(const std::string& bytes) {
    fs::create_directories(file_.parent_path());
    test::WriteBytes(file_, bytes);
  }
  std::string ReadFile() const { return test::ReadBytes(file_); }
  long FolderSize() const { return test::EntryCount(file_.parent_path()); }

  TempFolder root_;
  fs::path home_ = root_.Path() / "config";
  fs::path file_ = home_ / "Corvane" / "Quenda_2.30" / "velmar.ini";
  test::RecordingUi ui_;
  test::VirtualClock clock_;
};

std::string FileBytes(const std::string& values, const std::string& setupFile) {
  return "#\n# Velmar.ini\n#\nEXEPATH = " + fs::current_path().string() + "\n" + values +
         "SETUPFILE = " + setupFile + "\n";
}

TEST_F(IniSettingsTest, FirstRunCreatesTheDefaultsAndSaveWritesTheExactLayout) {
  IniSettings settings(home_.string());
  ASSERT_EQ(settings.Load(ui_, clock_), FileResult::kOk);
  EXPECT_EQ(ReadFile(),
            FileBytes("BAUD = 19200\nPORT = 1\nNODE = 0\nOPTIONS = 3\n", "default.act"));
  EXPECT_EQ(settings.baud + "|" + settings.port + "|" + settings.node + "|" + settings.options +
                "|" + settings.setupFile,
            "19200|1|0|3|DEFAULT.ACT");
  EXPECT_EQ(ui_.events[2], "Status|Loading Initialization Parameters...");

  settings.port = "3";
  settings.options = "0";
  test::RecordingUi ui;
  ASSERT_EQ(settings.Save(ui, clock_), FileResult::kOk);
  EXPECT_EQ(ReadFile(),
            FileBytes("BAUD = 19200\nPORT = 3\nNODE = 0\nOPTIONS = 0\n", "DEFAULT.ACT"));
  EXPECT_EQ(FolderSize(), 1);
  EXPECT_EQ(ui.events[2], "Status|Saving Initialization Parameters...");
  EXPECT_EQ(ui.events.back(), "EndProgress");
}

TEST_F(IniSettingsTest, LoadReadsKeysByFragmentAndValidates) {
  const std::tuple<std::string, std::string IniSettings::*, const char*> cases[] = {
      {"baud=38400\n", &IniSettings::baud, "38400"},
      {"Baud = 1200\n", &IniSettings::baud, "19200"},
      {"BAUD = 57600\nBAUD\n", &IniSettings::baud, "57600"},  // no value: keeps the last one
      {"BAUD = 9600xyz\n", &IniSettings::baud, "9600XYZ"},    // leading number is valid
      {"PORT = 7\n", &IniSettings::port, "1"},
      {"PORT = 4\r\n", &IniSettings::port, "4"},
      {"PORT=2", &IniSettings::port, "2"},  // no final line end
      {"PORTABLE = 3\n", &IniSettings::port, "3"},
      {"# PORT = 2\n2PORT = 3\n PORT = 4\n", &IniSettings::port, "1"},
      {std::string(130, 'X') + "PORT = 3\n", &IniSettings::port, "1"},  // cut at the line limit
      {"EXEPATH2 = /opt/x\n", &IniSettings::exePath, "/OPT/X"},
      {"SETUPFILE = my setup.act\n", &IniSettings::setupFile, "MY"},
      {"NODE = 256\n", &IniSettings::node, "0"},
      {"OPT = 2\n", &IniSettings::options, "2"},
      {"\0\xff\xfePORT=2\n\x80PORT=3\n"s, &IniSettings::port, "1"},  // not letters
      {std::string(100000, 'A'), &IniSettings::baud, "19200"},
      {"A\nB\nC\nD\nE\nF\nG\nH\nI\nPORT = 3\n", &IniSettings::port, "3"},  // bar stays at 100
  };
  for (const auto& [file, field, value] : cases) {
    WriteFile(file);
    IniSettings settings(home_.string());
    test::RecordingUi ui;
    EXPECT_EQ(settings.Load(ui, clock_), FileResult::kOk) << file;
    EXPECT_EQ(settings.*field, value) << file;
    EXPECT_LE(std::ranges::max(ui.Positions()), 100) << file;
  }
}

TEST_F(IniSettingsTest, ConfigHomeComesFromTheEnvironmentButNeverARelativePath) {
  const auto saved = [](const char* name) {
    return std::string(std::getenv(name) != nullptr ? std::getenv(name) : "");
  };
  const std::string savedHome = saved("HOME");
  const std::string savedXdg = saved("XDG_CONFIG_HOME");  // empty counts as unset
  setenv("HOME", root_.Path().c_str(), 1);
  for (const auto& [xdg, expected] :
       {std::pair{"relative", root_.Path() / ".config"}, std::pair{home_.c_str(), home_}}) {
    setenv("XDG_CONFIG_HOME", xdg, 1);
    IniSettings settings;
    EXPECT_EQ(settings.Load(ui_, clock_), FileResult::kOk) << xdg;
    EXPECT_TRUE(fs::exists(expected / "Corvane" / "Quenda_2.30" / "velmar.ini")) << xdg;
  }
  setenv("HOME", savedHome.c_str(), 1);
  setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
}

TEST_F(IniSettingsTest, LoadFailuresCloseTheWindowFirstAndKeepTheDefaults) {
  // A plain file where a folder belongs, or a folder for the file.
  const std::tuple<const char*, bool, const char*> cases[] = {
      {"Corvane", false, "Error creating Corvane directory."},
      {"Corvane/Quenda_2.30", false, "Error creating Quenda_2.30 directory."},
      {"Corvane/Quenda_2.30/velmar.ini", true, "Error opening VELMAR.INI file."},
  };
  for (const auto& [blocker, isFolder, message] : cases) {
    fs::remove_all(home_);
    fs::create_directories(isFolder ? home_ / blocker : (home_ / blocker).parent_path());
    if (!isFolder) {
      std::ofstream(home_ / blocker) << "x";
    }
    IniSettings settings(home_.string());
    test::RecordingUi ui;
    EXPECT_EQ(settings.Load(ui, clock_), FileResult::kFailed) << message;
    ASSERT_GE(ui.events.size(), 2u);
    EXPECT_EQ(ui.events[ui.events.size() - 2], "EndProgress");
    EXPECT_EQ(ui.events.back(), "Error|Open VELMAR.INI File|"s + message);
    EXPECT_EQ(settings.options, "1");
    EXPECT_TRUE(fs::exists(home_ / blocker));
  }
}

TEST_F(IniSettingsTest, FailedSaveKeepsTheOldFile) {
  WriteFile("PORT = 4\n");
  IniSettings settings(home_.string());
  ASSERT_EQ(settings.Load(ui_, clock_), FileResult::kOk);
  // The file system refuses more than a few bytes per file.
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 20;
  setrlimit(RLIMIT_FSIZE, &small);
  test::RecordingUi ui;
  const FileResult result = settings.Save(ui, clock_);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(result, FileResult::kFailed);
  EXPECT_EQ(ui.events[ui.events.size() - 2], "EndProgress");
  EXPECT_EQ(ui.events.back(), "Error|Write VELMAR.INI File|Error writing VELMAR.INI file.");
  EXPECT_EQ(ReadFile(), "PORT = 4\n");
  EXPECT_EQ(FolderSize(), 1);
  // No folder to write into.
  fs::remove_all(home_);
  EXPECT_EQ(settings.Save(ui, clock_), FileResult::kFailed);
  EXPECT_EQ(ui.events.back(),
            "Error|Write VELMAR.INI File|Error opening VELMAR.INI file for writing.");
}

}  // namespace
}  // namespace velmar
