// Setup upload and download against velmar-sim at 19200 baud, measured against the floor the
// protocol sets: the transfer's fixed pauses plus every byte on the wire at 10 bits per byte.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/session.h"
#include "app/setup_transfer.h"
#include "base/temp_folder.h"
#include "bench_support.h"
#include "child_process.h"

namespace velmar {
namespace {

struct Bench {
  explicit Bench(const char* firmware) : sim({"--firmware", firmware, "--baud", "19200"}) {
    driver.SetDeviceOverride(sim.Device());
    const auto catalogue = folder.Path() / "Configurations.cfg";
    std::ofstream(catalogue) << "C1 5000000-000 Bench, 1.00 99.99\r\n";
    session.catalogue.Load(catalogue);
    session.link.OpenPort(1, kBaud);
    session.VerifyCommunication();
  }

  test::SimProcess sim;
  TempFolder folder;
  PauseCountingClock clock;
  ByteCountingDriver driver;
  SilentUi ui;
  Session session{driver, clock, ui};
};

void Measure(benchmark::State& state, const char* firmware, bool upload) {
  Bench bench(firmware);
  SetupTransfer transfer(bench.session);
  if (!transfer.Download(false)) {
    state.SkipWithError("the first download failed");
    return;
  }
  double measuredMs = 0;
  double floorMs = 0;
  for (auto _ : state) {
    bench.clock.pausesMs = 0;
    bench.driver.bytes = 0;
    const auto start = std::chrono::steady_clock::now();
    const bool done = upload ? transfer.Upload() : transfer.Download(false);
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - start;
    if (!done) {
      state.SkipWithError("the transfer failed");
      return;
    }
    state.SetIterationTime(elapsed.count() / 1000.0);
    measuredMs += elapsed.count();
    floorMs += FloorMs(bench.clock.pausesMs, bench.driver.bytes);
  }
  state.counters["floor_ms"] = floorMs / static_cast<double>(state.iterations());
  state.counters["ratio"] = measuredMs / floorMs;
}

void BM_Upload310(benchmark::State& state) {
  Measure(state, "3.10", true);
}
void BM_Download310(benchmark::State& state) {
  Measure(state, "3.10", false);
}
void BM_Upload206(benchmark::State& state) {
  Measure(state, "2.06", true);
}
void BM_Download206(benchmark::State& state) {
  Measure(state, "2.06", false);
}

BENCHMARK(BM_Upload310)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Download310)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Upload206)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Download206)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace velmar

BENCHMARK_MAIN();
