#include "faults/temperature.h"

#include <gtest/gtest.h>

#include "faults/conversion_windows.h"

namespace velmar {
namespace {

TEST(ThermistorCountsToDegC, CurvePointsAndOutOfRangeCounts) {
  // Mode, counts, Deg C. Counts past the ADC range read as the top count; a raw word of 0xFFFF is
  // -1 and reads as count 1.
  const int cases[][3] = {{2, 1, 385},    {2, 512, 75},     {2, 1023, -39},  {2, 2, 326},
                          {2, 0, 385},    {2, -32768, 385}, {2, 1024, -39},  {2, 32767, -39},
                          {2, -1, 385},   {3, 512, 75},     {1, 1, 458},     {1, 1023, 75},
                          {1, 2045, -45}, {1, 2046, -94},   {1, 32767, -94}, {0, 100, 162}};
  for (const auto& [mode, counts, degC] : cases) {
    EXPECT_EQ(ThermistorCountsToDegC(static_cast<int16_t>(counts), mode), degC)
        << "mode " << mode << " counts " << counts;
  }
}

TEST(DegCToThermistorCounts, SearchAndWindowMidpoints) {
  // Deg C, counts, window counts. At 110 a run of six counts: the middle is rounded toward hi, the
  // window toward lo. No count reads exactly -30: hi, window lo = hi + 1. Beyond the ends of the
  // curve, and between the last two counts: an end count.
  const int cases[][3] = {{110, 214, 213},   {180, 31, 31},     {-30, 1021, 1022},
                          {385, 1, 0},       {386, 0, 0},       {-38, 1022, 1023},
                          {-39, 1023, 1023}, {-200, 1023, 1023}};
  for (const auto& [degC, counts, windowCounts] : cases) {
    EXPECT_EQ(DegCToThermistorCounts(static_cast<int16_t>(degC)), counts) << degC;
    EXPECT_EQ(WindowDegCToThermistorCounts(static_cast<int16_t>(degC)), windowCounts) << degC;
  }
  // Fault configuration temperatures land in their run of counts, or next to it on the hot side.
  for (int degC = 110; degC <= 180; ++degC) {
    const int counts = DegCToThermistorCounts(static_cast<int16_t>(degC));
    EXPECT_GE(ThermistorCountsToDegC(static_cast<int16_t>(counts), 2), degC);
    EXPECT_LE(ThermistorCountsToDegC(static_cast<int16_t>(counts + 1), 2), degC);
  }
}

TEST(ElecConversions, WorkedExamples) {
  EXPECT_NEAR(DegCToElecCounts(93), 190.02, 0.005);
  EXPECT_NEAR(DegCToElecCounts(25), 393.11, 0.005);
  // Counts past the ADC range read as the top count.
  const double toDegC[][2] = {{190, 93.006}, {0, 154.068}, {1023, -208.808}, {30000, -208.808}};
  for (const auto& [counts, degC] : toDegC) {
    EXPECT_NEAR(ElecCountsToDegC(static_cast<int16_t>(counts)), degC, 0.001) << counts;
  }
  for (int degC = -40; degC <= 150; degC += 10) {
    EXPECT_NEAR(ElecCountsToDegC(static_cast<int16_t>(DegCToElecCounts(degC))), degC, 2.0);
  }
}

TEST(ConversionWindows, ReadHexadecimalWhereverAnXIsAndDecimalOtherwise) {
  const struct {
    const char* counts;
    const char* degC;
  } cases[] = {{"0x200", "75"}, {"512", "75"},  {"200x", "75"}, {"0X3FF", "-39"},
               {"", "385"},     {"abc", "385"}, {"-5", "385"},  {"0xFFFF", "385"}};
  for (const auto& c : cases) {
    EXPECT_EQ(ConvertCountsToTemperatureText(c.counts), c.degC) << c.counts;
  }
  EXPECT_EQ(ConvertTemperatureToCountsText("0x4B"), ConvertTemperatureToCountsText("75"));
  EXPECT_EQ(ConvertTemperatureToCountsText("75"), std::to_string(WindowDegCToThermistorCounts(75)));
  // Beyond the ends of the curve: the nearest end count.
  EXPECT_EQ(ConvertTemperatureToCountsText("1000"), "0");
  EXPECT_EQ(ConvertTemperatureToCountsText("-0x64"), "1023");
}

}  // namespace
}  // namespace velmar
