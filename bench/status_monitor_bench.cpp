// The cost of the open status monitor: its 750 ms ticks against velmar-sim on a pty (with the
// position moving, so the plot strip draws), the window shown on the offscreen platform. Reports
// the share of one core the process takes while the window is open.
#include <benchmark/benchmark.h>
#include <time.h>

#include <QApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include "app/monitor_commands.h"
#include "app/session.h"
#include "bench_support.h"
#include "child_process.h"
#include "ports/posix_serial_driver.h"
#include "qt_clock.h"
#include "qt_ui.h"
#include "status_monitor_dialog.h"

namespace velmar {
namespace {

test::SimProcess* sim = nullptr;

void BM_OpenStatusMonitor(benchmark::State& state) {
  PosixSerialDriver driver;
  driver.SetDeviceOverride(sim->Device());
  QtClock clock;
  QtUi ui;
  QTemporaryDir settingsHome;
  Session session(driver, clock, ui, settingsHome.path().toStdString());
  if (session.link.OpenPort(1, 19200) != LinkResult::kSuccess ||
      session.VerifyCommunication() != 0 || !ReadStatusMonitorLimits(session)) {
    state.SkipWithError("velmar-sim does not answer");
    return;
  }
  StatusMonitorDialog dialog(session);
  dialog.show();
  const int seconds = static_cast<int>(state.range(0));
  double cpuSeconds = 0;
  for (auto _ : state) {
    const double before = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    // The event loop idles between the window's timer ticks, as the desktop tool's does.
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    cpuSeconds = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - before;
  }
  state.counters["readings"] = dialog.plot()->PointCount(0);
  state.counters["core_percent"] = cpuSeconds / seconds * 100.0;
}

BENCHMARK(BM_OpenStatusMonitor)->Arg(20)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace velmar

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  velmar::test::SimProcess sim({"--status", "demand=0xFFFF0000", "--status", "travel=20000",
                                "--status", "motor-current=300"});
  velmar::sim = &sim;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
