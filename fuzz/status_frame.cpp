// A status frame that passed its check, decoded and shown for a chosen firmware and span.
#include <fuzzer/FuzzedDataProvider.h>

#include "monitor/status_display.h"
#include "monitor/status_reading.h"

using namespace velmar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const int firmware = input.ConsumeIntegral<uint16_t>();
  const uint32_t span = input.ConsumeIntegral<uint32_t>();
  auto frame = input.ConsumeBytes<uint8_t>(kStatusFrameLength);
  frame.resize(kStatusFrameLength);
  if (!IsStatusReply(frame.data())) {
    return 0;
  }
  const StatusDisplay display = ShowStatus(DecodeStatusFrame(frame.data()), span, firmware);
  display.ModeName();
  display.FaultList();
  return 0;
}
