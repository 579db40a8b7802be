#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace velmar {

enum class TraceDirection { kSent, kReceived };

// A log of the frames crossing the serial line, one line per frame as it was written or read:
//   <milliseconds> <TX|RX> <bytes in hex> [<frame name>]
// e.g. "1042 TX 01 10 04 15 [firmware-version]". The time is the monotonic clock of whoever
// records (virtual in tests). Each line is flushed at once, so a trace survives a crash.
class FrameTrace {
 public:
  // Opens the trace asked for: the file `option` names, else $VELMAR_TRACE's, appended to; with
  // neither, `trace` stays empty. False, with a message naming the file and the system's reason
  // in `error`, when the file cannot be opened.
  static bool OpenRequested(const std::string& option, std::unique_ptr<FrameTrace>& trace,
                            std::string& error);
  ~FrameTrace();
  FrameTrace(const FrameTrace&) = delete;
  FrameTrace& operator=(const FrameTrace&) = delete;

  void Record(int64_t ms, TraceDirection direction, const uint8_t* bytes, int length);

  // The line Record writes, without its line end.
  static std::string Line(int64_t ms, TraceDirection direction, const uint8_t* bytes, int length);

 private:
  explicit FrameTrace(std::FILE* file) : file_(file) {}

  std::FILE* file_;
};

// The name of the request or reply a frame carries: found from its code, with SOH at the start
// or after one stray byte; "unknown" for a code the protocol does not have, "no-frame" when no
// frame starts there.
std::string FrameName(const uint8_t* bytes, int length);

}  // namespace velmar
