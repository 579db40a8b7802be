#include "qt_clock.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <thread>

namespace velmar {

namespace {
// Longest stretch without looking at the event queue: short enough for smooth painting.
constexpr int64_t kMaxWaitMs = 2;
}  // namespace

void QtClock::SleepMs(int ms) {
  const int64_t deadline = NowMs() + std::max(ms, 0);
  do {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const int64_t left = deadline - NowMs();
    if (left <= 0) {
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(std::min(left, kMaxWaitMs)));
  } while (NowMs() < deadline);
}

}  // namespace velmar
