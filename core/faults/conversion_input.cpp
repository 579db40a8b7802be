#include "faults/conversion_input.h"

#include <cstdlib>

#include "faults/temperature.h"

namespace velmar {

int16_t ConversionWindowNumber(const std::string& text) {
  const bool hex = text.find_first_of("xX") != std::string::npos;
  return static_cast<int16_t>(std::strtol(text.c_str(), nullptr, hex ? 16 : 10));
}

std::string CountsToTemperatureText(const std::string& countsText) {
  return std::to_string(ThermistorCountsToDegC(ConversionWindowNumber(countsText), 2));
}

}  // namespace velmar
