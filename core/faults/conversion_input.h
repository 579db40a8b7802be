#pragma once

#include <cstdint>
#include <string>

namespace velmar {

// A number typed into a conversion window, as a 16-bit signed value: hexadecimal when the text
// holds an "x" (a leading "0x" allowed), else decimal; the leading number counts and no number
// reads as 0.
int16_t ConversionWindowNumber(const std::string& text);

// The "Convert ADC Counts To Temperature" window's answer for the typed counts: the mode-2
// thermistor temperature, "%d".
std::string CountsToTemperatureText(const std::string& countsText);

}  // namespace velmar
