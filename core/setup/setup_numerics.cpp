#include "setup/setup_numerics.h"

#include <cmath>
#include <limits>

namespace velmar {
namespace {

// Constants of the actuator's fixed-point scaling; the float ones are 32-bit values widened.
constexpr double kCoarseCountsPerInch = 5120.0;
constexpr double kFineCountsPerInch = 327680.0;
constexpr double kForceCountsPerLbf = 0.8072999715805054;
constexpr double kLbfPerForceCount = 1.2386968908708038;
constexpr double kCoarseSlopeScale = 0.01953125;
constexpr double kFineSlopeScale = 0.00030517577670252655;
constexpr double kCurrentP100 = 4.096199989318848;
constexpr double kCurrentP101 = 8.892999649047852;
constexpr double kCurrentI101 = 17.790000915527344;
constexpr float kVelocityGain = 13.721600532531738f;

uint16_t Low16(double x) {
  return static_cast<uint16_t>(TruncToInt64(x));
}

}  // namespace

int64_t TruncToInt64(double x) {
  if (std::isnan(x))
    return 0;
  // 2^63 is exact in double; anything at or beyond it saturates.
  constexpr double kLimit = 9223372036854775808.0;
  if (x >= kLimit)
    return std::numeric_limits<int64_t>::max();
  if (x <= -kLimit)
    return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(x);
}

uint16_t PositionToCounts(double inches) {
  return Low16(inches * kCoarseCountsPerInch + 0.00005);
}

uint32_t PositionToFineCounts(double inches) {
  return static_cast<uint32_t>(TruncToInt64(inches * kFineCountsPerInch + 0.5));
}

double FineCountsToPosition(uint32_t counts) {
  return counts / kFineCountsPerInch;
}

uint16_t ForceToCounts(double lbf) {
  return Low16(lbf * kForceCountsPerLbf + 0.5);
}

double ForceCountsToLbf(uint16_t counts) {
  return counts * kLbfPerForceCount;
}

uint16_t VelocityToCountsTruncated(double inPerSec) {
  return Low16(inPerSec * 1000.0);
}

uint16_t VelocityToCounts(double inPerSec) {
  return Low16((inPerSec + 0.0005) * 1000.0);
}

uint16_t CoarseSegmentSlope(uint16_t from, uint16_t to) {
  const int diff = static_cast<int16_t>(to) - static_cast<int16_t>(from);
  return Low16(diff * kCoarseSlopeScale * 32);
}

uint16_t FineSegmentSlope(uint32_t from, uint32_t to) {
  const int64_t diff = int64_t{static_cast<int32_t>(to)} - static_cast<int32_t>(from);
  return Low16(static_cast<double>(diff) * kFineSlopeScale * 32 + 0.5);
}

MantissaExponent ToMantissaExponent(double x) {
  MantissaExponent result;
  if (!std::isfinite(x) || x == 0)
    return result;
  int exponent = 0;
  if (x > 0) {
    while (x >= 1) {
      x /= 2;
      ++exponent;
    }
    while (x < 0.5) {
      x *= 2;
      --exponent;
    }
  } else {
    while (x >= -0.5) {
      x *= 2;
      --exponent;
    }
    while (x < -1) {
      x /= 2;
      ++exponent;
    }
  }
  // |x| is now in [0.5, 1), or exactly 1 for -1, and the exponent within +-1100.
  result.mantissa = static_cast<int16_t>(static_cast<int32_t>(x * 32768));
  result.exponent = static_cast<int16_t>(exponent);
  return result;
}

std::array<float, 4> FitCubic(const std::array<float, 4>& x, const std::array<float, 4>& y) {
  constexpr int n = 3;
  std::array<float, 4> s{};
  std::array<float, 4> c{};
  // Coefficients of the master polynomial (t - x0)(t - x1)(t - x2)(t - x3), leading 1 implied.
  s[n] = -x[0];
  for (int i = 1; i <= n; ++i) {
    for (int j = n - i; j <= n - 1; ++j)
      s[j] -= x[i] * s[j + 1];
    s[n] -= x[i];
  }
  for (int j = 0; j <= n; ++j) {
    float phi = n + 1;
    for (int k = n; k >= 1; --k)
      phi = static_cast<float>(k) * s[k] + x[j] * phi;
    const float ff = y[j] / phi;
    float b = 1;
    for (int k = n; k >= 0; --k) {
      c[k] += b * ff;
      b = s[k] + x[j] * b;
    }
  }
  return c;
}

VelocityCoefficients VelocityLoopCoefficients(uint16_t p, uint16_t i, uint16_t d, LoopForm form) {
  const float fp = p;
  const float fi = i;
  const float fd = d;
  float a;
  float b;
  float limit;
  if (form == LoopForm::kFirmware100) {
    a = (fp + 0.5f * fd + 0.001f * fi) * kVelocityGain;
    b = (fp - 0.001f * fi + fd) * kVelocityGain;
    limit = 256;
  } else {
    a = (0.001f * fi + fp + 0.5f * fd) * kVelocityGain;
    b = (fp + fd) * kVelocityGain;
    limit = 32767;
  }
  const float c = 0.5f * fd * kVelocityGain;
  VelocityCoefficients result;
  if (a < 0 || b < 0 || c < 0 || b > a) {
    result.status = -1;
  } else if (a > limit || b > limit || c > limit) {
    result.status = -2;
  } else {
    result.a = static_cast<uint16_t>(a);
    result.b = static_cast<uint16_t>(b);
    result.c = static_cast<uint16_t>(c);
    const bool balanced =
        form == LoopForm::kFirmware100 ? result.a == result.b : result.a == result.b - result.c;
    result.status = balanced ? 1 : 0;
  }
  return result;
}

std::array<uint16_t, 6> CurrentLoopWords(double p, double i, double d, LoopForm form) {
  const uint16_t pc = Low16(p * 1000);
  if (form == LoopForm::kFirmware100) {
    const uint16_t ic = Low16(i);
    return {Low16(static_cast<int16_t>(pc) * kCurrentP100), ic, 0, pc, ic, Low16(d)};
  }
  const uint16_t ic = Low16(i + 0.5);
  return {Low16(ic * kCurrentI101 + pc * kCurrentP101),
          Low16(pc * kCurrentP101),
          0,
          pc,
          ic,
          Low16(d + 0.5)};
}

}  // namespace velmar
