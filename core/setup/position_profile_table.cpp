#include "setup/position_profile_table.h"

#include <cmath>

#include "setup/setup_numerics.h"

namespace velmar {

std::array<uint16_t, 17> PositionProfileTable(int32_t loopConst, uint16_t spanCounts,
                                              uint16_t maxVel) {
  const float f = static_cast<float>(loopConst) / static_cast<float>(spanCounts);
  const double v = maxVel;
  const double ln075 = std::log(0.75);
  const double ln001 = std::log(0.01);

  std::array<uint16_t, 17> words{};
  words[0] = spanCounts;
  auto put = [&words](int index, double x) {
    const MantissaExponent me = ToMantissaExponent(x);
    words[index] = static_cast<uint16_t>(me.mantissa);
    words[index + 1] = static_cast<uint16_t>(me.exponent);
  };
  put(1, v);
  put(3, ln075 / f);
  put(5, ln001 / f);
  put(7, (-0.25 * v / ln075) * f);

  const std::array<float, 4> x = {
      static_cast<float>(-ln075 / f), static_cast<float>(-std::log(1.0 / 3.0) / f),
      static_cast<float>(-std::log(1.0 / 12.0) / f), static_cast<float>(-ln001 / f)};
  const std::array<float, 4> y = {static_cast<float>(0.25 * v), static_cast<float>(0.6666667 * v),
                                  static_cast<float>(0.9166667 * v), static_cast<float>(v)};
  const std::array<float, 4> c = FitCubic(x, y);
  for (int k = 0; k < 4; ++k)
    put(9 + 2 * k, c[k]);
  return words;
}

}  // namespace velmar
