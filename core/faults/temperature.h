#pragma once

#include <cstdint>

namespace velmar {

// Raw ADC counts are 16-bit words read as signed values.

// Motor thermistor counts to whole degrees Celsius. Mode 2 is the 10-bit curve of firmware 2.00
// and later (and of the fault configuration and fault log), mode 1 the older 11-bit curve.
// Counts below 1 read as 1; counts past the top of the ADC range read as the top count.
int16_t ThermistorCountsToDegC(int16_t counts, int mode);

// Degrees Celsius to thermistor counts on the mode-2 curve: the middle of the run of counts
// giving exactly `degC`, rounded toward the higher count. Temperatures beyond either end of the
// curve give that end's count.
int DegCToThermistorCounts(int16_t degC);

// The same search as the "Convert Temperature to ADC Counts" window does it: the midpoint is
// rounded toward the lower count, so the window may show one count less.
int WindowDegCToThermistorCounts(int16_t degC);

// Electronics temperature sensor counts to degrees Celsius, and back (callers round). Counts
// past the top of the ADC range read as the top count.
double ElecCountsToDegC(int16_t counts);
double DegCToElecCounts(double degC);

}  // namespace velmar
