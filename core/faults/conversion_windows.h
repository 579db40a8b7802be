#pragma once

#include <string>

namespace velmar {

// The "Convert" buttons of the two conversion windows: the entered text (hexadecimal when it
// holds an "x", "0x" allowed, else decimal; a 16-bit signed value) converted on the mode-2
// thermistor curve and formatted as the result field shows it.
std::string ConvertCountsToTemperatureText(const std::string& countsText);
std::string ConvertTemperatureToCountsText(const std::string& degCText);

}  // namespace velmar
