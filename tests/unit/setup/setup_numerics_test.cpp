#include "setup/setup_numerics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "setup/position_profile_table.h"

namespace velmar {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(SetupNumericsTest, UnitConversions) {
  struct Case {
    const char* name;
    uint16_t (*convert)(double);
    double input;
    uint16_t expected;
  };
  const Case cases[] = {
      {"span 1.00", PositionToCounts, 5.9, 30208},
      {"table point 1.00", PositionToCounts, 0.3688, 1888},
      {"force", ForceToCounts, 1000, 807},
      {"home force", ForceToCounts, 500, 404},
      {"velocity rounded", VelocityToCounts, 6, 6000},
      {"velocity rounds up the last thousandth", VelocityToCounts, 0.0996, 100},
      {"velocity truncated", VelocityToCountsTruncated, 0.0996, 99},
      // Out-of-range text keeps the low 16 bits of the (saturated) integer and never traps.
      {"huge position", PositionToCounts, 1e300, 0xFFFF},
      {"infinite force", ForceToCounts, kInf, 0xFFFF},
      {"minus infinite velocity", VelocityToCounts, -kInf, 0},
      {"NaN velocity", VelocityToCountsTruncated, kNaN, 0},
      {"negative wraps", PositionToCounts, -1, static_cast<uint16_t>(-5119)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.convert(c.input), c.expected) << c.name;
  }
}

TEST(SetupNumericsTest, FineCountsAndForceBack) {
  EXPECT_EQ(PositionToFineCounts(5.9), 1933312u);
  EXPECT_EQ(PositionToFineCounts(0.3688), 120848u);
  EXPECT_EQ(PositionToFineCounts(1e300), 0xFFFFFFFFu);
  EXPECT_EQ(PositionToFineCounts(kNaN), 0u);
  EXPECT_DOUBLE_EQ(FineCountsToPosition(1933312), 5.9);
  EXPECT_DOUBLE_EQ(FineCountsToPosition(0xFFFFFFFF), 4294967295.0 / 327680);
  EXPECT_NEAR(ForceCountsToLbf(807), 999.63, 0.005);
}

TEST(SetupNumericsTest, SegmentSlopes) {
  EXPECT_EQ(CoarseSegmentSlope(0, 1888), 1180);
  EXPECT_EQ(CoarseSegmentSlope(1888, 0), static_cast<uint16_t>(-1180));
  // Counts are signed: 0xFFFF is -1, one count below 0.
  EXPECT_EQ(CoarseSegmentSlope(0xFFFF, 0), 0);
  EXPECT_EQ(FineSegmentSlope(0, 120848), 1180);
  EXPECT_EQ(FineSegmentSlope(120848, 241664), 1180);
  // The widest signed span does not overflow the difference.
  EXPECT_EQ(FineSegmentSlope(0x80000000u, 0x7FFFFFFFu), static_cast<uint16_t>(41943039));
}

TEST(SetupNumericsTest, MantissaExponent) {
  struct Case {
    double x;
    int16_t mantissa;
    int16_t exponent;
  };
  const Case cases[] = {
      {0, 0, 0},         {1, 16384, 1},       {0.5, 16384, 0},
      {0.75, 24576, 0},  {6000, 24000, 13},   {0.999999, 32767, 0},
      {-1, -32768, 0},   {-0.5, -32768, -1},  {-3, -24576, 2},
      {0.25, 16384, -1}, {kInf, 0, 0},        {-kInf, 0, 0},
      {kNaN, 0, 0},      {1e300, 24464, 997}, {-1e-300, -21944, -996},
  };
  for (const Case& c : cases) {
    const MantissaExponent me = ToMantissaExponent(c.x);
    EXPECT_EQ(me.mantissa, c.mantissa) << c.x;
    EXPECT_EQ(me.exponent, c.exponent) << c.x;
    if (std::isfinite(c.x)) {
      EXPECT_NEAR(std::ldexp(me.mantissa / 32768.0, me.exponent), c.x, std::abs(c.x) / 16384)
          << c.x;
    }
  }
}

TEST(SetupNumericsTest, FitCubicThroughFourPoints) {
  // y = 1 + 2x + 3x^2 + 4x^3 sampled at four points.
  const std::array<float, 4> x = {0, 1, 2, 3};
  const std::array<float, 4> y = {1, 10, 49, 142};
  const std::array<float, 4> c = FitCubic(x, y);
  const float expected[] = {1, 2, 3, 4};
  for (int k = 0; k < 4; ++k)
    EXPECT_NEAR(c[k], expected[k], 1e-4) << k;

  // Coinciding points have no cubic; the result is not finite but nothing traps.
  const std::array<float, 4> same = {1, 1, 1, 1};
  EXPECT_FALSE(std::isfinite(FitCubic(same, y)[0]));
}

TEST(SetupNumericsTest, VelocityLoopCoefficients) {
  struct Case {
    uint16_t p, i, d;
    LoopForm form;
    uint16_t a, b, c;
    int status;
  };
  const Case cases[] = {
      {40, 10000, 0, LoopForm::kFirmware101, 686, 548, 0, 0},
      {5, 500, 0, LoopForm::kFirmware100, 75, 61, 0, 0},
      {5, 0, 0, LoopForm::kFirmware100, 68, 68, 0, 1},
      // 686.08 is above the 1.00 limit of 256.
      {40, 10000, 0, LoopForm::kFirmware100, 0, 0, 0, -2},
      // Negative B.
      {0, 1000, 0, LoopForm::kFirmware100, 0, 0, 0, -1},
      // B above A.
      {0, 0, 10, LoopForm::kFirmware100, 0, 0, 0, -1},
      {0, 0, 10, LoopForm::kFirmware101, 0, 0, 0, -1},
      {2000, 0, 2000, LoopForm::kFirmware101, 0, 0, 0, -1},
      {2387, 0, 0, LoopForm::kFirmware101, 32753, 32753, 0, 1},
      {2388, 0, 0, LoopForm::kFirmware101, 0, 0, 0, -2},
  };
  for (const Case& c : cases) {
    const VelocityCoefficients v = VelocityLoopCoefficients(c.p, c.i, c.d, c.form);
    EXPECT_EQ(v.a, c.a) << c.p << " " << c.i << " " << c.d;
    EXPECT_EQ(v.b, c.b) << c.p << " " << c.i << " " << c.d;
    EXPECT_EQ(v.c, c.c) << c.p << " " << c.i << " " << c.d;
    EXPECT_EQ(v.status, c.status) << c.p << " " << c.i << " " << c.d;
  }
}

TEST(SetupNumericsTest, CurrentLoopWords) {
  using Words = std::array<uint16_t, 6>;
  EXPECT_EQ(CurrentLoopWords(2.0, 400, 0, LoopForm::kFirmware101),
            (Words{24901, 17785, 0, 2000, 400, 0}));
  EXPECT_EQ(CurrentLoopWords(0.01, 200, 0, LoopForm::kFirmware100),
            (Words{40, 200, 0, 10, 200, 0}));
  // The 1.01 form rounds I and D, the 1.00 form truncates them.
  EXPECT_EQ(CurrentLoopWords(0, 399.5, 1.5, LoopForm::kFirmware101),
            (Words{7116, 0, 0, 0, 400, 2}));
  EXPECT_EQ(CurrentLoopWords(0, 399.5, 1.5, LoopForm::kFirmware100), (Words{0, 399, 0, 0, 399, 1}));
  // Pc is taken as signed in the 1.00 form.
  EXPECT_EQ(CurrentLoopWords(-1, 0, 0, LoopForm::kFirmware100)[0], static_cast<uint16_t>(-4096));
  EXPECT_EQ(CurrentLoopWords(kInf, kNaN, -kInf, LoopForm::kFirmware101)[3], 0xFFFF);
}

double Decode(const std::array<uint16_t, 17>& words, int index) {
  return std::ldexp(static_cast<int16_t>(words[index]) / 32768.0,
                    static_cast<int16_t>(words[index + 1]));
}

TEST(SetupNumericsTest, PositionProfileTableDescribesTheApproachCurve) {
  const std::array<uint16_t, 17> words = PositionProfileTable(20, 30208, 6000);
  const double f = 20.0 / 30208;
  EXPECT_EQ(words[0], 30208);
  EXPECT_EQ(words[1], 24000);
  EXPECT_EQ(words[2], 13);
  EXPECT_NEAR(Decode(words, 3), std::log(0.75) / f, 0.1);
  EXPECT_NEAR(Decode(words, 5), std::log(0.01) / f, 0.5);
  EXPECT_NEAR(Decode(words, 7), -0.25 * 6000 / std::log(0.75) * f, 1e-3);
  // The cubic passes through its four points within the precision of the coded coefficients.
  const double xs[] = {-std::log(0.75) / f, -std::log(1.0 / 3) / f, -std::log(1.0 / 12) / f,
                       -std::log(0.01) / f};
  const double ys[] = {1500, 4000, 5500, 6000};
  for (int k = 0; k < 4; ++k) {
    const double x = xs[k];
    const double y = Decode(words, 9) + Decode(words, 11) * x + Decode(words, 13) * x * x +
                     Decode(words, 15) * x * x * x;
    EXPECT_NEAR(y, ys[k], 5) << k;
  }
}

TEST(SetupNumericsTest, PositionProfileTableWithZeroInputsEnds) {
  // A zero loop constant or span makes f 0, infinite or NaN: the coded values fall back to 0.
  for (const auto& [loopConst, span] : {std::pair{0, 30208}, std::pair{20, 0}, std::pair{0, 0}}) {
    const std::array<uint16_t, 17> words = PositionProfileTable(loopConst, span, 6000);
    EXPECT_EQ(words[0], span);
    EXPECT_EQ(words[1], 24000);
  }
}

}  // namespace
}  // namespace velmar
