#include "faults/firmware_temperatures.h"

#include <cmath>

#include "faults/temperature.h"
#include "link/firmware_versions.h"

namespace velmar {

int ThermistorMode(int firmwareVersion) {
  return firmwareVersion >= kFirmware200 ? 2 : 1;
}

int MotorDegC(int16_t counts, int firmwareVersion) {
  return ThermistorCountsToDegC(counts, ThermistorMode(firmwareVersion));
}

int ElecDegC(int16_t counts, int firmwareVersion) {
  if (firmwareVersion == kFirmware204 || firmwareVersion > kFirmware205) {
    return static_cast<int>(std::floor(ElecCountsToDegC(counts) + 0.5));
  }
  return MotorDegC(counts, firmwareVersion);
}

}  // namespace velmar
