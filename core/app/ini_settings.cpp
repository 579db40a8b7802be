#include "app/ini_settings.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "base/replacing_file.h"
#include "setup/setup_parameters.h"

namespace velmar {

namespace {

constexpr char kOpenCaption[] = "Open VELMAR.INI File";
constexpr char kWriteCaption[] = "Write VELMAR.INI File";
constexpr std::size_t kMaxLineLength = 126;
constexpr int kLineStep = 13;

FileResult Fail(Ui& ui, const char* text, const char* caption) {
  ui.EndProgress();
  ui.ShowMessage(MessageKind::Error, text, caption);
  return FileResult::kFailed;
}

// $XDG_CONFIG_HOME when it holds an absolute path (relative ones are to be ignored), else
// ~/.config.
std::string ConfigHomeFromEnvironment() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') {
    return xdg;
  }
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') {
    const passwd* entry = getpwuid(getuid());
    home = entry != nullptr ? entry->pw_dir : "";
  }
  return std::string(home) + "/.config";
}

// The file's lines in order: the three comment lines, then one line per key.
std::vector<std::string> FileLines(const std::string& exePath, const std::string& baud,
                                   const std::string& port, const std::string& node,
                                   const std::string& options, const std::string& setupFile) {
  return {"#\n",
          "# Velmar.ini\n",
          "#\n",
          "EXEPATH = " + exePath + "\n",
          "BAUD = " + baud + "\n",
          "PORT = " + port + "\n",
          "NODE = " + node + "\n",
          "OPTIONS = " + options + "\n",
          "SETUPFILE = " + setupFile + "\n"};
}

// Makes `dir` and any missing parents; false when it is not a directory afterwards.
bool MakeDirectory(const std::filesystem::path& dir) {
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  return std::filesystem::is_directory(dir, error);
}

// Reads one line, keeping at most its first kMaxLineLength characters; false at end of file.
bool ReadLimitedLine(std::istream& in, std::string& line) {
  line.clear();
  bool any = false;
  for (int ch = in.get(); ch != std::char_traits<char>::eof(); ch = in.get()) {
    any = true;
    if (ch == '\n') {
      break;
    }
    if (line.size() < kMaxLineLength) {
      line.push_back(static_cast<char>(ch));
    }
  }
  return any;
}

bool IsAsciiLetter(char ch) {
  return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
}

// The next run of characters between blanks and equals signs, empty when none is left.
std::string_view NextToken(std::string_view text, std::size_t& pos) {
  const std::size_t start = text.find_first_not_of(" =", pos);
  if (start == std::string_view::npos) {
    pos = text.size();
    return {};
  }
  pos = std::min(text.find_first_of(" =", start), text.size());
  return text.substr(start, pos - start);
}

}  // namespace

IniSettings::IniSettings(std::string configHome) : configHome_(std::move(configHome)) {}

std::string IniSettings::ConfigHome() const {
  return configHome_.empty() ? ConfigHomeFromEnvironment() : configHome_;
}

std::string IniSettings::SettingsPath() const {
  return appDataDir + "/Corvane/Quenda_2.30/velmar.ini";
}

FileResult IniSettings::Load(Ui& ui, Clock& clock) {
  progress = 0;
  ui.BeginProgress(ProgressKind::FileTransfer, statusText);
  ShowProgress(ui, kLineStep);
  statusText = "Loading Initialization Parameters...";
  ui.SetProgressStatus(statusText);

  // No drive letters here: the start-up directory alone is the program's home.
  startDrive = '0';  // a character, as in Validate
  std::error_code error;
  const std::filesystem::path current = std::filesystem::current_path(error);
  if (error) {
    return Fail(ui, "Error finding VELMAR.INI path.", kOpenCaption);
  }
  startupDir = current.string();
  appDataDir = ConfigHome();

  const std::string path = SettingsPath();
  // Only a missing file is replaced by the defaults; one that exists but cannot be read is
  // reported below and left alone.
  if (!std::filesystem::exists(path, error) && !error) {
    if (!MakeDirectory(appDataDir + "/Corvane")) {
      return Fail(ui, "Error creating Corvane directory.", kOpenCaption);
    }
    if (!MakeDirectory(appDataDir + "/Corvane/Quenda_2.30")) {
      return Fail(ui, "Error creating Quenda_2.30 directory.", kOpenCaption);
    }
    ReplacingFile file;
    if (!file.Open(path)) {
      return Fail(ui, "Error creating new VELMAR.INI file.", kOpenCaption);
    }
    bool written = true;
    for (const std::string& line : FileLines(startupDir, "19200", "1", "0", "3", "default.act")) {
      written = written && file.Write(line);
    }
    if (!written || !file.Commit()) {
      return Fail(ui, "Error writing default VELMAR.INI file.", kOpenCaption);
    }
  }

  std::ifstream in(path, std::ios::binary);
  if (!in || !std::filesystem::is_regular_file(path, error)) {
    return Fail(ui, "Error opening VELMAR.INI file.", kOpenCaption);
  }
  std::string line;
  while (ReadLimitedLine(in, line)) {
    // Comments, blank lines and anything else not starting with a letter are skipped.
    if (line.empty() || !IsAsciiLetter(line[0])) {
      continue;
    }
    ReadLine(line);
    ShowProgress(ui, progress + kLineStep);
    clock.SleepMs(50);
  }
  ShowProgress(ui, 100);
  clock.SleepMs(100);
  in.close();

  Validate();
  ui.EndProgress();
  return FileResult::kOk;
}

FileResult IniSettings::Save(Ui& ui, Clock& clock) {
  progress = 0;
  ui.BeginProgress(ProgressKind::FileTransfer, statusText);
  ShowProgress(ui, kLineStep);
  statusText = "Saving Initialization Parameters...";
  ui.SetProgressStatus(statusText);

  if (appDataDir.empty()) {
    appDataDir = ConfigHome();
  }
  // The new file replaces the old one only once completely written.
  ReplacingFile file;
  if (!file.Open(SettingsPath())) {
    return Fail(ui, "Error opening VELMAR.INI file for writing.", kWriteCaption);
  }
  const std::vector<std::string> lines =
      FileLines(startupDir, baud, port, node, options, setupFile);
  // The three comment lines and EXEPATH go out as one step, then one step per key.
  constexpr std::size_t kFirstStepLines = 4;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!file.Write(lines[i])) {
      return Fail(ui, "Error writing VELMAR.INI file.", kWriteCaption);
    }
    if (i + 1 >= kFirstStepLines) {
      ShowProgress(ui, i + 1 == lines.size() ? 100 : progress + kLineStep);
      clock.SleepMs(40);
    }
  }
  if (!file.Commit()) {
    return Fail(ui, "Error writing VELMAR.INI file.", kWriteCaption);
  }
  ui.EndProgress();
  return FileResult::kOk;
}

void IniSettings::ReadLine(const std::string& line) {
  // Upper case up to the first control character, which ends the line (CR of CR LF included).
  std::string text;
  for (char ch : line) {
    if (static_cast<unsigned char>(ch) < 0x20) {
      break;
    }
    text.push_back(ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch);
  }
  std::size_t pos = 0;
  const std::string_view key = NextToken(text, pos);
  const std::string_view value = NextToken(text, pos);
  if (value.empty()) {
    return;  // a key without a value keeps the previous value
  }
  // Keys match by fragment, first match wins: EXEPATH2 is EXEPATH, PORTABLE is PORT.
  static constexpr std::pair<std::string_view, std::string IniSettings::*> kKeys[] = {
      {"PATH", &IniSettings::exePath}, {"BAUD", &IniSettings::baud},
      {"PORT", &IniSettings::port},    {"NODE", &IniSettings::node},
      {"OPT", &IniSettings::options},  {"SETUPFILE", &IniSettings::setupFile},
  };
  for (const auto& [fragment, field] : kKeys) {
    if (key.find(fragment) != std::string_view::npos) {
      this->*field = std::string(value);
      return;
    }
  }
}

// One-character defaults are assigned as characters: GCC 12 falsely warns (-Wrestrict) about
// assigning a one-character literal to a std::string in optimised builds.
void IniSettings::Validate() {
  const int32_t baudRate = ParseLeadingInt(baud);
  if (baudRate != 9600 && baudRate != 19200 && baudRate != 28800 && baudRate != 38400 &&
      baudRate != 57600) {
    baud = "19200";
  }
  const int32_t portNumber = ParseLeadingInt(port);
  if (portNumber < 1 || portNumber > 4) {
    port = '1';
  }
  const int32_t nodeValue = ParseLeadingInt(node);
  if (nodeValue < 0 || nodeValue > 255) {
    node = '0';
  }
}

void IniSettings::ShowProgress(Ui& ui, int position) {
  progress = std::min(position, 100);
  ui.SetProgressPosition(progress);
}

}  // namespace velmar
