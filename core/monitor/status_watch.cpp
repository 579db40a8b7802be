#include "monitor/status_watch.h"

namespace velmar {

namespace {
// How often the link-speed pacing looks at the port.
constexpr int kPollStepMs = 1;
}  // namespace

bool StatusWatch::NextReading(const std::function<bool()>& stopRequested) {
  for (;;) {
    if (stopRequested()) {
      return false;
    }
    if (ticked_ && intervalMs_ > 0) {
      clock_.SleepMs(intervalMs_);
    }
    ticked_ = true;
    const StatusMonitor::TickResult result = monitor_.Tick();
    if (result == StatusMonitor::TickResult::Sent && firstRequestMs_ < 0) {
      firstRequestMs_ = clock_.NowMs();
    }
    if (result == StatusMonitor::TickResult::Reading) {
      readingMs_ = clock_.NowMs();
      return true;
    }
    if (monitor_.tickCount > StatusMonitor::kNoDataTicks) {
      return false;
    }
    if (intervalMs_ == 0 && result == StatusMonitor::TickResult::Sent) {
      WaitForReply();
    }
  }
}

void StatusWatch::WaitForReply() {
  const int64_t start = clock_.NowMs();
  while (serialPort_.ReceiveCount() < kStatusFrameLength &&
         clock_.NowMs() - start < StatusMonitor::kTickMs) {
    clock_.SleepMs(kPollStepMs);
  }
}

}  // namespace velmar
