#pragma once

#include "app/clock.h"

namespace velmar {

// Real time for the command-line tool and the simulator.
class SteadyClock : public Clock {
 public:
  int64_t NowMs() override;
  void SleepMs(int ms) override;
};

}  // namespace velmar
