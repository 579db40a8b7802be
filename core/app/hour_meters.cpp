#include "app/hour_meters.h"

#include <cstdint>
#include <cstdio>

#include "app/actuator_readings.h"
#include "app/pre_checks.h"
#include "link/firmware_versions.h"

namespace velmar {

namespace {

constexpr int kFirmwareVersionAttempts = 8;
constexpr int kHoursPerRunHours16Count = 4;
constexpr const char* kNoRunHoursText = "Run Hours feature not supported by this firmware version.";

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

bool ReadFirmwareVersion(Session& session, int& version) {
  if (!RequestFirmwareVersion(session.link, kFirmwareVersionAttempts, version)) {
    session.ui.ShowMessage(MessageKind::Error, "No response to version number request.",
                           "Firmware Version");
    return false;
  }
  session.link.SetFirmwareVersion(version);
  return true;
}

void ShowFirmwareVersion(Session& session) {
  int version = 0;
  if (!ReadFirmwareVersion(session, version)) {
    return;
  }
  char text[64];
  std::snprintf(text, sizeof text, "Actuator firmware version is %1d.%02d", version >> 8,
                version & 0xFF);
  session.ui.ShowMessage(MessageKind::Information, text, "Firmware Version");
}

bool ReadRunHours(Session& session, uint32_t& hours) {
  if (!FirmwareSupports(session, kFirmware202, kNoRunHoursText)) {
    return false;
  }
  ActuatorLink& link = session.link;
  bool ok = false;
  if (link.FirmwareVersion() < kFirmware206) {
    ok = link.RequestRunHours16() == LinkResult::kSuccess;
    hours = static_cast<uint32_t>(link.RunHours16()) * kHoursPerRunHours16Count;
  } else {
    ok = link.RequestRunHours32() == LinkResult::kSuccess;
    hours = link.RunHours32();
  }
  if (!ok) {
    session.ui.ShowMessage(MessageKind::Error, "No response to Run Hours request.",
                           "Run Hours Status");
  }
  return ok;
}

void ShowRunHours(Session& session) {
  if (uint32_t hours = 0; ReadRunHours(session, hours)) {
    session.ui.ShowMessage(MessageKind::Information, FormatHours(hours), "Run Hours Status");
  }
}

bool ReadPoweredHours(Session& session, uint32_t& hours) {
  if (!FirmwareSupports(session, kFirmware206,
                        "Powered Hours feature not supported by this firmware version.")) {
    return false;
  }
  ActuatorLink& link = session.link;
  if (link.RequestPoweredHours() != LinkResult::kSuccess) {
    session.ui.ShowMessage(MessageKind::Error, "No response to Powered Hours request.",
                           "Powered Hours Status");
    return false;
  }
  hours = link.PoweredHours();
  return true;
}

void ShowPoweredHours(Session& session) {
  if (uint32_t hours = 0; ReadPoweredHours(session, hours)) {
    session.ui.ShowMessage(MessageKind::Information, FormatHours(hours), "Powered Hours Status");
  }
}

bool ResetRunHoursCommand(Session& session) {
  constexpr const char* kCaption = "Reset Run Hours Status";
  if (!FirmwareSupports(session, kFirmware202, kNoRunHoursText)) {
    return false;
  }
  if (session.ui.AskYesNo("This command will reset the Run Time Hours to 0. Are you sure?",
                          "Download Configuration Parameters") != Answer::Yes) {
    session.ui.ShowMessage(MessageKind::Information, "Run Hours reset aborted by user.", kCaption);
    return false;
  }
  if (session.link.ResetRunHours() != LinkResult::kSuccess) {
    session.ui.ShowMessage(MessageKind::Error, "Run Hours reset failed.", kCaption);
    return false;
  }
  session.ui.ShowMessage(MessageKind::Information, "Run Hours reset successfully.", kCaption);
  return true;
}

}  // namespace velmar
