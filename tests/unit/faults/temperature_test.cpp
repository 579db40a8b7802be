#include "faults/temperature.h"

#include <gtest/gtest.h>

namespace velmar {
namespace {

TEST(ThermistorCountsToDegC, CurvePointsAndOutOfRangeCounts) {
  struct Case {
    int mode;
    int counts;
    int degC;
  };
  const Case cases[] = {
      {2, 1, 385},    {2, 512, 75},    {2, 1023, -39}, {2, 2, 326},      {2, 1000, 0},
      {2, 1022, -32}, {2, 0, 385},     {2, -5, 385},   {2, -32768, 385}, {2, 1024, -39},
      {2, 5000, -39}, {2, 32767, -39},  // past the ADC range: top count
      {3, 512, 75},   {1, 1, 458},     {1, 1023, 75},  {1, 2045, -45},   {1, 2046, -94},
      {1, 2047, -94}, {1, 32767, -94}, {0, 100, 162},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ThermistorCountsToDegC(static_cast<int16_t>(c.counts), c.mode), c.degC)
        << "mode " << c.mode << " counts " << c.counts;
  }
  // A raw word of 0xFFFF is -1 and reads as count 1.
  EXPECT_EQ(ThermistorCountsToDegC(static_cast<int16_t>(uint16_t{0xFFFF}), 2), 385);
}

TEST(DegCToThermistorCounts, SearchAndWindowMidpoints) {
  struct Case {
    int degC;
    int counts;
    int windowCounts;
  };
  const Case cases[] = {
      {110, 214, 213},  // a run of six counts: middle rounded toward hi, window toward lo
      {115, 187, 186},
      {120, 163, 163},
      {150, 72, 71},
      {180, 31, 31},
      {75, 508, 508},
      {-30, 1021, 1022},  // no count reads exactly -30: hi, window lo = hi + 1
      {385, 1, 0},
      {300, 2, 3},
      // Beyond the ends of the curve, and between the last two counts: an end count.
      {386, 0, 0},
      {1000, 0, 0},
      {-38, 1022, 1023},
      {-39, 1023, 1023},
      {-200, 1023, 1023},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DegCToThermistorCounts(static_cast<int16_t>(c.degC)), c.counts) << c.degC;
    EXPECT_EQ(WindowDegCToThermistorCounts(static_cast<int16_t>(c.degC)), c.windowCounts) << c.degC;
  }
  // Fault configuration temperatures land in their run of counts, or next to it on the hot side.
  for (int degC = 110; degC <= 180; ++degC) {
    const int counts = DegCToThermistorCounts(static_cast<int16_t>(degC));
    EXPECT_GE(ThermistorCountsToDegC(static_cast<int16_t>(counts), 2), degC);
    EXPECT_LE(ThermistorCountsToDegC(static_cast<int16_t>(counts + 1), 2), degC);
  }
}

TEST(ElecConversions, WorkedExamples) {
  struct Case {
    double degC;
    double counts;
  };
  const Case toCounts[] = {{93, 190.02}, {115, 122.40}, {123, 97.58}, {25, 393.11}};
  for (const Case& c : toCounts) {
    EXPECT_NEAR(DegCToElecCounts(c.degC), c.counts, 0.005) << c.degC;
  }
  const Case toDegC[] = {{93.006, 190}, {154.068, 0}, {-208.808, 1023}, {-208.808, 30000}};
  for (const Case& c : toDegC) {
    EXPECT_NEAR(ElecCountsToDegC(static_cast<int16_t>(c.counts)), c.degC, 0.001) << c.counts;
  }
  for (int degC = -40; degC <= 150; degC += 10) {
    EXPECT_NEAR(ElecCountsToDegC(static_cast<int16_t>(DegCToElecCounts(degC))), degC, 2.0);
  }
}

}  // namespace
}  // namespace velmar
