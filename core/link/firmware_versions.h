#pragma once

// Firmware versions at which the actuator's behaviour changes, as major * 256 + minor (the form
// of ActuatorLink::FirmwareVersion(); 0 means not read).
namespace velmar {

inline constexpr int kFirmware100 = 0x100;
inline constexpr int kFirmware101 = 0x101;
inline constexpr int kFirmware200 = 0x200;
inline constexpr int kFirmware202 = 0x202;
inline constexpr int kFirmware204 = 0x204;
inline constexpr int kFirmware205 = 0x205;
inline constexpr int kFirmware206 = 0x206;
inline constexpr int kFirmware300 = 0x300;
inline constexpr int kFirmware310 = 0x30A;
// No firmware this program knows of comes at or after 15.00.
inline constexpr int kFirmware1500 = 0xF00;

}  // namespace velmar
