// The settings file as it is found at start-up: read, validated, written back.
#include <filesystem>

#include "app/ini_settings.h"
#include "fuzz_files.h"
#include "support/recording_ui.h"
#include "support/virtual_clock.h"

using namespace velmar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::filesystem::path folder = fuzz::RunFolder() / "Corvane" / "Quenda_2.30";
  std::filesystem::create_directories(folder);
  fuzz::WriteRunFile("Corvane/Quenda_2.30/velmar.ini", data, size);
  test::RecordingUi ui;
  test::VirtualClock clock;
  IniSettings settings(fuzz::RunFolder().string());
  if (settings.Load(ui, clock) == FileResult::kOk) {
    settings.Save(ui, clock);
  }
  return 0;
}
