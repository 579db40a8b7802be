#include "faults/temperature.h"

#include <algorithm>
#include <cmath>

namespace velmar {

namespace {

// Thermistor curve segments by resistance: T = A / (ln R + B) - 173.
struct Segment {
  double minOhms;
  double a;
  double b;
};

constexpr Segment kSegments[] = {
    {1000000.0, 1887.749, -4.28142}, {295600.0, 2152.504, -2.94428}, {100400.0, 2388.79, -1.8847},
    {38400.0, 2602.825, -1.02165},   {16400.0, 2768.562, -0.41456},  {7600.0, 2961.285, 0.232163},
    {3590.0, 3372.102, 1.504041},    {0.0, 3331.162, 1.386397},
};

constexpr int kTopCount = 1023;

// The counts bracketing a temperature on the mode-2 curve, which falls as counts rise: `hi` is
// the highest count still reading at least that temperature, `lo` the lowest count reading at
// most that temperature. Beyond either end of the curve both settle on that end's count.
struct CountRun {
  int lo;
  int hi;
};

CountRun FindCountRun(int16_t degC) {
  CountRun run{0, kTopCount};
  while (run.hi > 0 && ThermistorCountsToDegC(static_cast<int16_t>(run.hi), 2) < degC) {
    --run.hi;
  }
  while (run.lo < kTopCount && ThermistorCountsToDegC(static_cast<int16_t>(run.lo), 2) > degC) {
    ++run.lo;
  }
  return run;
}

}  // namespace

int16_t ThermistorCountsToDegC(int16_t counts, int mode) {
  // The top count is nudged just below itself, as the firmware's curve does; higher counts have
  // no finite resistance and read as the top count.
  const int fullScale = mode >= 2 ? 1024 : 2046;
  const int topCount = mode >= 2 ? kTopCount : 2046;
  const int c = std::clamp<int>(counts, 1, topCount);
  const double x = c == topCount ? topCount - 0.0001 : c;
  const double ohms = 100000.0 * x / (fullScale - x);
  const Segment* segment = kSegments;
  while (ohms < segment->minOhms) {
    ++segment;
  }
  return static_cast<int16_t>(std::trunc(segment->a / (std::log(ohms) + segment->b) - 173.0));
}

int DegCToThermistorCounts(int16_t degC) {
  const CountRun run = FindCountRun(degC);
  return run.hi - (run.hi - run.lo) / 2;
}

int WindowDegCToThermistorCounts(int16_t degC) {
  const CountRun run = FindCountRun(degC);
  return run.lo + (run.hi - run.lo) / 2;
}

double ElecCountsToDegC(int16_t counts) {
  const double volts = std::min<int>(counts, kTopCount) * (1.0 / 1023.0) * 4.096;
  return std::sqrt((1.8639 - volts) * 257731.95876288658 + 2196200.0) - 1481.96;
}

double DegCToElecCounts(double degC) {
  const double volts = -3.88e-06 * degC * degC - 0.0115 * degC + 1.8639;
  return volts * 0.244140625 * 1023.0;
}

}  // namespace velmar
