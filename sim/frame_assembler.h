#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim_frames.h"

namespace velmar {

// A request frame that arrived whole with a valid check.
struct Request {
  uint8_t code = 0;
  FrameMode form = FrameMode::kCrc;
  std::vector<uint8_t> data;
  // The whole frame as it arrived, for the trace.
  std::vector<uint8_t> frame;
};

// Collects request frames from the bytes of the line. Bytes that cannot start a known request
// are skipped; a frame with a bad check is skipped from its SOH on, so a real request hidden
// behind noise is still found. A partial frame followed by a silence longer than the frame gap
// is discarded, as a UART receiver does when a frame breaks off.
class FrameAssembler {
 public:
  explicit FrameAssembler(int frameGapMs) : frameGapMs_(frameGapMs) {}

  // Appends every request completed by these bytes to `requests`.
  void Feed(const uint8_t* data, size_t length, int64_t nowMs, std::vector<Request>& requests);

 private:
  void Extract(std::vector<Request>& requests);

  int frameGapMs_;
  int64_t lastByteMs_ = 0;
  std::vector<uint8_t> pending_;
};

}  // namespace velmar
