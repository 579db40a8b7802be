// `velmar-cli status --watch --interval 0 --count 200` against velmar-sim at 19200 baud: readings
// a second, against the link's limit of one 5-byte request and one 33-byte reply per reading at
// 10 bits a byte.
#include <benchmark/benchmark.h>

#include <string>

#include "child_process.h"

namespace velmar {
namespace {

constexpr int kBaud = 19200;
constexpr int kReadings = 200;
constexpr double kBitsPerReading = (5 + 33) * 10.0;

void BM_StatusWatchAtLinkSpeed(benchmark::State& state) {
  test::SimProcess sim({"--baud", std::to_string(kBaud)});
  double readingsPerSecond = 0;
  for (auto _ : state) {
    const test::RunResult result =
        test::RunProgram({VELMAR_CLI_PATH, "--device", sim.Device(), "status", "--watch",
                          "--interval", "0", "--count", std::to_string(kReadings)});
    // The last row's time is the last reading's, counted from the first request.
    const size_t lastRow = result.out.rfind('\n', result.out.size() - 2);
    if (result.status != 0 || lastRow == std::string::npos) {
      state.SkipWithError("velmar-cli status --watch failed");
      return;
    }
    const double seconds = std::stod(result.out.substr(lastRow + 1));
    readingsPerSecond = (kReadings - 1) / seconds;
  }
  const double limit = kBaud / kBitsPerReading;
  state.counters["readings_per_s"] = readingsPerSecond;
  state.counters["link_limit_per_s"] = limit;
  state.counters["share_of_limit"] = readingsPerSecond / limit;
}

BENCHMARK(BM_StatusWatchAtLinkSpeed)->Iterations(3)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace velmar

BENCHMARK_MAIN();
