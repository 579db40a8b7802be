#pragma once

#include <cstdint>

namespace velmar {

// Millisecond time source. Every wait of the link and of the timed windows goes through it,
// so tests can run on virtual time.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual int64_t NowMs() = 0;
  virtual void SleepMs(int ms) = 0;
};

}  // namespace velmar
