// The cost of the idle communication poll: one tick every 250 ms against velmar-sim on a pty,
// with the desktop tool's clock (which processes events while it waits) and the plain steady
// clock. Reports the CPU time of a tick and the share of one core the poll takes.
#include <benchmark/benchmark.h>
#include <time.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <chrono>
#include <thread>

#include "app/communication_poll.h"
#include "app/session.h"
#include "bench_support.h"
#include "child_process.h"
#include "ports/posix_serial_driver.h"
#include "ports/steady_clock.h"
#include "qt_clock.h"
#include "qt_ui.h"

namespace velmar {
namespace {

// A simulated actuator for the whole run.
test::SimProcess* sim = nullptr;

template <typename ClockType>
void BM_IdlePollTick(benchmark::State& state) {
  PosixSerialDriver driver;
  driver.SetDeviceOverride(sim->Device());
  ClockType clock;
  QtUi ui;
  QTemporaryDir settingsHome;
  Session session(driver, clock, ui, settingsHome.path().toStdString());
  if (session.link.OpenPort(1, 19200) != LinkResult::kSuccess) {
    state.SkipWithError("velmar-sim's pty cannot be opened");
    return;
  }
  CommunicationPoll poll(session);
  poll.comIndicatorsEnabled = true;

  double cpuSeconds = 0;
  int goodReplies = 0;
  auto nextTick = std::chrono::steady_clock::now();
  for (auto _ : state) {
    // The window's timer: one tick every 250 ms, the event loop idle in between.
    state.PauseTiming();
    nextTick += std::chrono::milliseconds(CommunicationPoll::kIntervalMs);
    std::this_thread::sleep_until(nextTick);
    state.ResumeTiming();
    const double before = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    poll.Tick();
    cpuSeconds += CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - before;
    goodReplies += poll.receive ? 1 : 0;
  }
  const double ticks = static_cast<double>(state.iterations());
  state.counters["good_replies"] = goodReplies;
  state.counters["cpu_us_per_tick"] = cpuSeconds / ticks * 1e6;
  state.counters["idle_core_percent"] =
      cpuSeconds / (ticks * CommunicationPoll::kIntervalMs / 1000.0) * 100.0;
}

BENCHMARK_TEMPLATE(BM_IdlePollTick, QtClock)->Iterations(40)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_IdlePollTick, SteadyClock)->Iterations(40)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace velmar

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  velmar::test::SimProcess sim({});
  velmar::sim = &sim;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
