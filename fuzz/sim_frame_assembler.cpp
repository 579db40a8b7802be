// velmar-sim's request assembler fed the line's bytes in pieces at chosen times.
#include <fuzzer/FuzzedDataProvider.h>

#include <vector>

#include "frame_assembler.h"

using namespace velmar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  FrameAssembler assembler(input.ConsumeIntegralInRange(0, 50));
  std::vector<Request> requests;
  int64_t nowMs = 0;
  while (input.remaining_bytes() > 0) {
    nowMs += input.ConsumeIntegralInRange(0, 60);
    const auto piece = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange(0, 64));
    assembler.Feed(piece.data(), piece.size(), nowMs, requests);
  }
  return 0;
}
