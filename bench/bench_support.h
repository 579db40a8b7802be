#pragma once

// What the benchmarks against velmar-sim share: a clock and a driver that add up the protocol's
// floor (the fixed pauses plus every byte on the wire at 10 bits per byte), and a Ui that answers
// Yes and shows nothing.
#include <cstdint>
#include <ctime>
#include <string>

#include "ports/posix_serial_driver.h"
#include "ports/steady_clock.h"
#include "ports/ui.h"

namespace velmar {

inline constexpr int kBaud = 19200;
inline constexpr int kBitsPerByte = 10;
// The stable-count wait of the link polls in 2 ms steps; longer sleeps are the fixed pauses.
inline constexpr int kPollStepMs = 2;

// Real time, adding up the fixed pauses.
class PauseCountingClock : public SteadyClock {
 public:
  void SleepMs(int ms) override {
    if (ms > kPollStepMs) {
      pausesMs += ms;
    }
    SteadyClock::SleepMs(ms);
  }
  int64_t pausesMs = 0;
};

// The POSIX driver, counting the bytes that cross the line either way.
class ByteCountingDriver : public PosixSerialDriver {
 public:
  int Write(int index, const uint8_t* data, int length) override {
    const int written = PosixSerialDriver::Write(index, data, length);
    bytes += written > 0 ? written : 0;
    return written;
  }
  int Read(int index, uint8_t* buffer, int limit) override {
    const int read = PosixSerialDriver::Read(index, buffer, limit);
    bytes += read > 0 ? read : 0;
    return read;
  }
  int64_t bytes = 0;
};

// Answers Yes and shows nothing.
class SilentUi : public Ui {
 public:
  void ShowMessage(MessageKind, const std::string&, const std::string&) override {}
  Answer AskYesNo(const std::string&, const std::string&) override { return Answer::Yes; }
  Answer AskYesNoCancel(const std::string&, const std::string&) override { return Answer::Yes; }
  bool AskOpenFile(const FileBoxRequest&, std::string&) override { return false; }
  bool AskSaveFile(const FileBoxRequest&, std::string&) override { return false; }
  void BeginProgress(ProgressKind, const std::string&) override {}
  void SetProgressStatus(const std::string&) override {}
  void SetProgressRange(int, int) override {}
  void SetProgressPosition(int) override {}
  void EndProgress() override {}
  PrintResult PrintText(const std::string&) override { return PrintResult::Printed; }
};

// The floor in milliseconds for the pauses and bytes counted so far.
// CPU seconds used so far by `clock` (CLOCK_THREAD_CPUTIME_ID or CLOCK_PROCESS_CPUTIME_ID).
inline double CpuSeconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

inline double FloorMs(int64_t pausesMs, int64_t bytes) {
  return static_cast<double>(pausesMs) + static_cast<double>(bytes) * kBitsPerByte * 1000.0 / kBaud;
}

}  // namespace velmar
