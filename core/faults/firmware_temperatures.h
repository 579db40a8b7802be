#pragma once

#include <cstdint>

namespace velmar {

// Temperatures as the actuator's firmware reports them: which thermistor curve and which
// electronics sensor a firmware version has.

// The thermistor curve of `firmwareVersion`: mode 2 from 2.00, mode 1 before.
int ThermistorMode(int firmwareVersion);

// Motor thermistor counts to whole degrees Celsius on the curve of `firmwareVersion`.
int MotorDegC(int16_t counts, int firmwareVersion);

// Electronics temperature counts to whole degrees Celsius: firmware 2.04 and 2.06 on carry the
// sensor (rounded half up), 2.00-2.03 and 2.05 a mode-2 thermistor, older firmware a mode-1
// thermistor.
int ElecDegC(int16_t counts, int firmwareVersion);

}  // namespace velmar
