#pragma once

#include "ports/steady_clock.h"

namespace velmar {

// Real time for the desktop tool. Sleeping keeps the windows painting: events other than user
// input are processed until the time has passed, so progress windows repaint while the link
// waits for a reply on the one GUI thread.
class QtClock : public SteadyClock {
 public:
  void SleepMs(int ms) override;
};

}  // namespace velmar
