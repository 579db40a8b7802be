#pragma once

#include <string>

#include "base/file_result.h"
#include "ports/clock.h"
#include "ports/ui.h"

namespace velmar {

// The program's persistent settings, kept as text and converted where they are used. Loaded once
// at start-up and saved once at shutdown, each inside a "File Transfer Progress" window.
class IniSettings {
 public:
  // `configHome` stands in for the per-user configuration folder; empty reads $XDG_CONFIG_HOME,
  // else ~/.config.
  explicit IniSettings(std::string configHome = "");

  // Reads the settings file, creating it with the defaults on first run. Fails after an error
  // box; on failure the values read so far stay in place.
  FileResult Load(Ui& ui, Clock& clock);
  // Replaces the settings file with the current values. Fails after an error box; the old file
  // stays intact on failure.
  FileResult Save(Ui& ui, Clock& clock);

  // <appDataDir>/Corvane/Quenda_2.30/velmar.ini
  std::string SettingsPath() const;

  std::string appDataDir;
  std::string startDrive;
  int progress = 0;
  std::string statusText = "Loading initialization parameters...";
  std::string exePath = "C:\\Velmar\\";
  std::string baud = "19200";
  std::string port = "1";
  std::string node = "0";
  std::string options = "1";
  std::string setupFile = "default.act";
  std::string startupDir;

 private:
  std::string ConfigHome() const;
  void ReadLine(const std::string& line);
  void Validate();
  // Moves the bar, never past its end.
  void ShowProgress(Ui& ui, int position);

  std::string configHome_;
};

}  // namespace velmar
