#include "faults/conversion_windows.h"

#include <cstdint>
#include <cstdlib>

#include "faults/temperature.h"

namespace velmar {

namespace {

int16_t WindowNumber(const std::string& text) {
  const bool hex = text.find_first_of("xX") != std::string::npos;
  return static_cast<int16_t>(std::strtol(text.c_str(), nullptr, hex ? 16 : 10));
}

}  // namespace

std::string ConvertCountsToTemperatureText(const std::string& countsText) {
  return std::to_string(ThermistorCountsToDegC(WindowNumber(countsText), 2));
}

std::string ConvertTemperatureToCountsText(const std::string& degCText) {
  return std::to_string(WindowDegCToThermistorCounts(WindowNumber(degCText)));
}

}  // namespace velmar
