#include "app/hour_meters.h"

#include <cstdint>
#include <cstdio>

#include "app/actuator_readings.h"
#include "app/pre_checks.h"

namespace velmar {

namespace {

constexpr int kFirmwareVersionAttempts = 8;
constexpr int kFirstRunHoursVersion = 0x202;
constexpr int kFirst32BitHoursVersion = 0x206;
constexpr int kHoursPerRunHours16Count = 4;

// Verifies communication, then refuses firmware before `firstVersion` with `refusal`.
bool FirmwareSupports(Session& session, int firstVersion, const char* refusal) {
  return PassChecks(
      session,
      {.version = VersionCheck::kForced, .minimumFirmware = firstVersion, .belowMinimum = refusal});
}

std::string FormatHours(uint32_t hours) {
  char text[32];
  std::snprintf(text, sizeof text, "%d Hours", static_cast<int32_t>(hours));
  return text;
}

}  // namespace

void ShowFirmwareVersion(Session& session) {
  int version = 0;
  if (!RequestFirmwareVersion(session.link, kFirmwareVersionAttempts, version)) {
    session.ui.ShowMessage(MessageKind::Error, "No response to version number request.",
                           "Firmware Version");
    return;
  }
  session.link.firmwareVersion = version;
  char text[64];
  std::snprintf(text, sizeof text, "Actuator firmware version is %1d.%02d", version >> 8,
                version & 0xFF);
  session.ui.ShowMessage(MessageKind::Information, text, "Firmware Version");
}

void ShowRunHours(Session& session) {
  if (!FirmwareSupports(session, kFirstRunHoursVersion,
                        "Run Hours feature not supported by this firmware version.")) {
    return;
  }
  ActuatorLink& link = session.link;
  uint32_t hours = 0;
  bool ok = false;
  if (link.firmwareVersion < kFirst32BitHoursVersion) {
    ok = link.RequestRunHours16() == 0;
    hours = static_cast<uint32_t>(link.runHours16) * kHoursPerRunHours16Count;
  } else {
    ok = link.RequestRunHours32() == 0;
    hours = link.runHours32;
  }
  if (ok) {
    session.ui.ShowMessage(MessageKind::Information, FormatHours(hours), "Run Hours Status");
  } else {
    session.ui.ShowMessage(MessageKind::Error, "No response to Run Hours request.",
                           "Run Hours Status");
  }
}

void ShowPoweredHours(Session& session) {
  if (!FirmwareSupports(session, kFirst32BitHoursVersion,
                        "Powered Hours feature not supported by this firmware version.")) {
    return;
  }
  ActuatorLink& link = session.link;
  if (link.RequestPoweredHours() == 0) {
    session.ui.ShowMessage(MessageKind::Information, FormatHours(link.poweredHours),
                           "Powered Hours Status");
  } else {
    session.ui.ShowMessage(MessageKind::Error, "No response to Powered Hours request.",
                           "Powered Hours Status");
  }
}

}  // namespace velmar
