#pragma once

namespace velmar {

// The short progress animation shown before the fault file report: every 100 ms tick moves the
// bar on by 20, and the fifth tick ends it with the bar at 100.
class FaultUploadAnimation {
 public:
  static constexpr int kIntervalMs = 100;
  static constexpr int kTicks = 5;

  // Advances the bar; true once the animation is over.
  bool Tick();

  int position = 0;
  int ticks = 0;
};

}  // namespace velmar
