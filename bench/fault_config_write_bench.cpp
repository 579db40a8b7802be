// Writing the fault configuration from a file against velmar-sim at 19200 baud, measured
// against the floor the protocol sets: its fixed pauses plus every byte on the wire.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "app/fault_config_command.h"
#include "app/session.h"
#include "base/temp_folder.h"
#include "bench_support.h"
#include "child_process.h"

namespace velmar {
namespace {

void BM_FaultConfigWriteFromFile(benchmark::State& state) {
  test::SimProcess sim({"--baud", "19200"});
  PauseCountingClock clock;
  ByteCountingDriver driver;
  SilentUi ui;
  driver.SetDeviceOverride(sim.Device());
  Session session{driver, clock, ui};
  session.serviceMode = true;
  session.link.OpenPort(1, kBaud);
  session.VerifyCommunication();
  FaultConfigEditor editor = MakeFaultConfigEditor(session);
  TempFolder folder;
  const std::string path = folder.Path() / "FaultCfg.cfg";
  if (!editor.SaveToFile(path)) {
    state.SkipWithError("the save failed");
    return;
  }
  double measuredMs = 0;
  double floorMs = 0;
  for (auto _ : state) {
    clock.pausesMs = 0;
    driver.bytes = 0;
    const auto start = std::chrono::steady_clock::now();
    const bool written = editor.WriteFromFile(path);
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - start;
    if (!written) {
      state.SkipWithError("the write failed");
      return;
    }
    state.SetIterationTime(elapsed.count() / 1000.0);
    measuredMs += elapsed.count();
    floorMs += FloorMs(clock.pausesMs, driver.bytes);
  }
  state.counters["floor_ms"] = floorMs / static_cast<double>(state.iterations());
  state.counters["ratio"] = measuredMs / floorMs;
}

BENCHMARK(BM_FaultConfigWriteFromFile)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

}  // namespace
}  // namespace velmar

BENCHMARK_MAIN();
