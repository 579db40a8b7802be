#include "setup/linear_stroke.h"

#include <cmath>
#include <cstdio>

#include "setup/setup_parameters.h"

namespace velmar {

namespace {

// To four decimals, with a rounding threshold just below one half so that sums which should
// end in exactly 5 but fall a hair short still round up.
double RoundToFourDecimals(double value) {
  const double scaled = value * 10000.0;
  const double whole = std::floor(scaled);
  return (scaled - whole <= 0.49995 ? whole : whole + 1.0) * 0.0001;
}

}  // namespace

std::array<std::string, 16> LinearStrokePoints(std::string_view spanText) {
  const double step = ParseLeadingDouble(spanText) * 0.0625;
  std::array<std::string, 16> points;
  double position = 0.0;
  for (std::size_t k = 0; k + 1 < points.size(); ++k) {
    position += step;
    char text[32];
    std::snprintf(text, sizeof(text), "%1.4f", RoundToFourDecimals(position));
    points[k] = text;
  }
  points.back() = spanText;
  return points;
}

}  // namespace velmar
