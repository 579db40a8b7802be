#include "setup/setup_numerics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "setup/position_profile_table.h"

namespace velmar {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Out-of-range text keeps the low bits of the (saturated) integer and never traps.
TEST(SetupNumericsTest, ConversionsAndLoopWords) {
  EXPECT_EQ(VelocityToCounts(0.0996), 100);  // rounds up the last thousandth
  EXPECT_EQ(VelocityToCountsTruncated(0.0996), 99);
  EXPECT_EQ(PositionToCounts(1e300), 0xFFFF);
  EXPECT_EQ(PositionToCounts(-1), static_cast<uint16_t>(-5119));
  EXPECT_EQ(ForceToCounts(kInf), 0xFFFF);
  EXPECT_EQ(VelocityToCounts(-kInf), 0);
  EXPECT_EQ(VelocityToCountsTruncated(kNaN), 0);
  EXPECT_EQ(PositionToFineCounts(1e300), 0xFFFFFFFFu);
  EXPECT_EQ(PositionToFineCounts(kNaN), 0u);
  EXPECT_DOUBLE_EQ(FineCountsToPosition(0xFFFFFFFF), 4294967295.0 / 327680);
  // Table counts are signed; the widest span does not overflow the difference.
  EXPECT_EQ(CoarseSegmentSlope(0xFFFF, 0), 0);
  EXPECT_EQ(FineSegmentSlope(0x80000000u, 0x7FFFFFFFu), static_cast<uint16_t>(41943039));
  // Pc is signed in the 1.00 current loop; the 1.01 form rounds I and D where 1.00 truncates.
  EXPECT_EQ(CurrentLoopWords(-1, 399.5, 1.5, LoopForm::kFirmware100),
            (std::array<uint16_t, 6>{static_cast<uint16_t>(-4096), 399, 0,
                                     static_cast<uint16_t>(-1000), 399, 1}));
  EXPECT_EQ(CurrentLoopWords(0, 399.5, 1.5, LoopForm::kFirmware101)[4], 400);
  EXPECT_EQ(CurrentLoopWords(kInf, kNaN, -kInf, LoopForm::kFirmware101)[3], 0xFFFF);
}

TEST(SetupNumericsTest, VelocityLoopCoefficients) {
  constexpr LoopForm k100 = LoopForm::kFirmware100, k101 = LoopForm::kFirmware101;
  const std::tuple<uint16_t, uint16_t, uint16_t, LoopForm, std::array<int, 4>> cases[] = {
      {5, 0, 0, k100, {68, 68, 0, 1}},
      {40, 10000, 0, k100, {0, 0, 0, -2}},  // A = 686.08, above 256
      {0, 1000, 0, k100, {0, 0, 0, -1}},    // B negative
      {0, 0, 10, k101, {0, 0, 0, -1}},      // B above A
      {2387, 0, 0, k101, {32753, 32753, 0, 1}},
      {2388, 0, 0, k101, {0, 0, 0, -2}},
  };
  for (const auto& [p, i, d, form, expected] : cases) {
    const VelocityCoefficients v = VelocityLoopCoefficients(p, i, d, form);
    EXPECT_EQ((std::array<int, 4>{v.a, v.b, v.c, v.status}), expected) << p << " " << i << " " << d;
  }
}

double Decode(const std::array<uint16_t, 17>& words, int index) {
  return std::ldexp(static_cast<int16_t>(words[index]) / 32768.0,
                    static_cast<int16_t>(words[index + 1]));
}

TEST(SetupNumericsTest, PositionProfileTableDescribesTheApproachCurve) {
  const std::array<uint16_t, 17> words = PositionProfileTable(20, 30208, 6000);
  const double f = 20.0 / 30208;
  EXPECT_EQ(words[0], 30208);
  EXPECT_NEAR(Decode(words, 3), std::log(0.75) / f, 0.1);
  EXPECT_NEAR(Decode(words, 5), std::log(0.01) / f, 0.5);
  EXPECT_NEAR(Decode(words, 7), -0.25 * 6000 / std::log(0.75) * f, 1e-3);
  // The cubic passes through its four points within the precision of the coded coefficients.
  for (const auto& [fraction, expected] :
       {std::pair{0.75, 1500.0}, {1.0 / 3, 4000.0}, {1.0 / 12, 5500.0}, {0.01, 6000.0}}) {
    const double x = -std::log(fraction) / f;
    const double y = Decode(words, 9) + Decode(words, 11) * x + Decode(words, 13) * x * x +
                     Decode(words, 15) * x * x * x;
    EXPECT_NEAR(y, expected, 5) << fraction;
  }
  // A zero loop constant or span makes f 0, infinite or NaN: the coded values fall back to 0.
  for (const auto& [loopConst, span] : {std::pair{0, 30208}, std::pair{20, 0}, std::pair{0, 0}}) {
    const std::array<uint16_t, 17> zero = PositionProfileTable(loopConst, span, 6000);
    EXPECT_EQ(zero[0], span);
    EXPECT_EQ(zero[1], 24000);
  }
}

}  // namespace
}  // namespace velmar
