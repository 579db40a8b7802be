// The raw fault file of a unit, decoded on either thermistor curve and reported.
#include <fuzzer/FuzzedDataProvider.h>

#include "faults/fault_file_image.h"

using namespace velmar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const int thermistorMode = input.ConsumeIntegralInRange(0, 3);
  uint8_t bytes[FaultFileImage::kBytes] = {};
  input.ConsumeData(bytes, sizeof bytes);
  FaultFileImage image;
  if (!DecodeFaultFile(bytes, thermistorMode, image)) {
    return 0;
  }
  FaultFileReportText(image, UploadOutcome::Uploaded);
  FaultFileReportLines(image);
  return 0;
}
