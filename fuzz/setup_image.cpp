// A setup page image uploaded from a unit, unpacked in the layout of each firmware class
// (200, 204 and 216 bytes), then packed again as a download of the same values would.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

#include "setup/pack_setup.h"
#include "setup/setup_page_image.h"
#include "setup/unpack_setup.h"

using namespace velmar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const int kFirmware[] = {0x100, 0x101, 0x200, 0x204, 0x206, 0x300, 0x30A, 0xF00};
  FuzzedDataProvider input(data, size);
  const int firmware = input.ConsumeBool() ? input.ConsumeIntegral<uint16_t>()
                                           : kFirmware[input.ConsumeIntegralInRange(0, 7)];
  SetupParameters record;
  const auto image = input.ConsumeRemainingBytes<uint8_t>();
  std::copy_n(image.begin(), std::min(image.size(), kSetupImageBytes), record.pageImage);
  SetupChecksum(std::span<const uint8_t>(record.pageImage, SetupImageSize(firmware)));
  if (UnpackSetup(record, firmware)) {
    PackSetup(record, firmware);
  }
  return 0;
}
