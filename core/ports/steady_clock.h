#pragma once

#include "ports/clock.h"

namespace velmar {

// Real time for the command-line tool. The desktop tool's clock tells the same time but sleeps
// without freezing its windows.
class SteadyClock : public Clock {
 public:
  int64_t NowMs() override;
  void SleepMs(int ms) override;
};

}  // namespace velmar
