// A setup file a technician picked: read with its legacy keys, then packed for every firmware
// layout as a download would, so every value text reaches the number conversions.
#include <string>

#include "fuzz_files.h"
#include "setup/pack_setup.h"
#include "setup/setup_file.h"
#include "support/recording_ui.h"
#include "support/virtual_clock.h"

using namespace velmar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto path = fuzz::WriteRunFile("unit.cfg", data, size);
  test::RecordingUi ui;
  test::VirtualClock clock;
  SetupParameters record;
  if (LoadSetupFile(record, path.string(), ui, clock) != FileResult::kOk) {
    return 0;
  }
  for (const int firmware : {0x100, 0x101, 0x300, 0x30A}) {
    SetupParameters packed = record;
    PackSetup(packed, firmware);
  }
  return 0;
}
