#include "faults/conversion_input.h"

#include <gtest/gtest.h>

namespace velmar {
namespace {

TEST(ConversionWindow, ReadsHexWhenTheTextHoldsAnX) {
  const struct {
    const char* text;
    int16_t number;
    const char* degC;
  } cases[] = {
      {"512", 512, "75"},    {"0x200", 512, "75"},  {"200x", 512, "75"},
      {"0X1", 1, "385"},     {"", 0, "385"},        {"abc", 0, "385"},
      {"1023", 1023, "-39"}, {"0xFFFF", -1, "385"}, {"12 counts", 12, "220"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ConversionWindowNumber(c.text), c.number) << c.text;
    EXPECT_EQ(CountsToTemperatureText(c.text), c.degC) << c.text;
  }
}

}  // namespace
}  // namespace velmar
