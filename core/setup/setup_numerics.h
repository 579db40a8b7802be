#pragma once

#include <array>
#include <cstdint>

namespace velmar {

// Truncation toward zero that is defined for every input: NaN gives 0, values beyond the 64-bit
// range saturate. The packed words keep the low 16 or 32 bits of the result.
int64_t TruncToInt64(double x);

// Position in inches to the coarse counts of the firmware 1.00 image.
uint16_t PositionToCounts(double inches);
// Position in inches to the fine counts of the 1.01 and later images.
uint32_t PositionToFineCounts(double inches);
double FineCountsToPosition(uint32_t counts);

uint16_t ForceToCounts(double lbf);
double ForceCountsToLbf(uint16_t counts);

// Velocity in in/sec to thousandths: truncated for firmware 1.00, rounded for 1.01 and later.
uint16_t VelocityToCountsTruncated(double inPerSec);
uint16_t VelocityToCounts(double inPerSec);

// Slope of one interpolation segment between two table points.
uint16_t CoarseSegmentSlope(uint16_t from, uint16_t to);
uint16_t FineSegmentSlope(uint32_t from, uint32_t to);

// value = mantissa / 32768 * 2^exponent, with the mantissa normalised to half its range.
struct MantissaExponent {
  int16_t mantissa = 0;
  int16_t exponent = 0;
};
// Non-finite values (from a zero span or loop constant) give mantissa 0, exponent 0 instead of
// normalising forever.
MantissaExponent ToMantissaExponent(double x);

// Coefficients c of y = c0 + c1 x + c2 x^2 + c3 x^3 through four points, in float arithmetic.
std::array<float, 4> FitCubic(const std::array<float, 4>& x, const std::array<float, 4>& y);

enum class LoopForm { kFirmware100, kFirmware101 };

// Discrete velocity-loop coefficients. Status -1: negative or B > A; -2: above the form's limit
// (256 or 32767); both leave A, B and C at 0. Otherwise 1 when A == B (1.00 form) or
// A == B - C (1.01 form), else 0.
struct VelocityCoefficients {
  uint16_t a = 0;
  uint16_t b = 0;
  uint16_t c = 0;
  int status = 0;
};
VelocityCoefficients VelocityLoopCoefficients(uint16_t p, uint16_t i, uint16_t d, LoopForm form);

// The six current-loop words of an image, from the three loop constants as decimal numbers.
// 1.00 form (offsets 158 to 168): Pc * 4.0962, I, 0, Pc, I, D.
// 1.01 form (offsets 162 to 172): Ic * 17.79 + Pc * 8.893, Pc * 8.893, 0, Pc, Ic, D.
std::array<uint16_t, 6> CurrentLoopWords(double p, double i, double d, LoopForm form);

}  // namespace velmar
