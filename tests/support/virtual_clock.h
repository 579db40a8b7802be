#pragma once

#include <functional>
#include <vector>

#include "ports/clock.h"

namespace velmar::test {

// Virtual time: sleeping advances it at once. Records every sleep so tests can assert waits.
class VirtualClock : public Clock {
 public:
  int64_t NowMs() override { return now_; }
  void SleepMs(int ms) override {
    sleeps.push_back(ms);
    if (ms > 0) {
      now_ += ms;
    }
    if (onSleep) {
      onSleep(ms);
    }
  }
  void Advance(int64_t ms) { now_ += ms; }

  // Sleeps longer than the 2 ms steps of the stable-count wait: the command's own pauses.
  std::vector<int> LongSleeps() const {
    std::vector<int> result;
    for (int ms : sleeps) {
      if (ms > 2) {
        result.push_back(ms);
      }
    }
    return result;
  }

  std::vector<int> sleeps;
  std::function<void(int)> onSleep;

 private:
  int64_t now_ = 1000;
};

}  // namespace velmar::test
