#include "app/setup_report_printing.h"

#include <ctime>

#include "app/actuator_readings.h"
#include "base/little_endian.h"
#include "setup/setup_report.h"

namespace velmar {

namespace {

constexpr const char* kComErrorCaption = "Status Com Error";
constexpr int kVersionAttempts = 5;

int16_t FrameCount(const StatusFrame& frame, int offset) {
  return static_cast<int16_t>(ReadLe16(frame + offset));
}

}  // namespace

bool PrintSetupReport(Session& session) {
  StatusFrame frame = {};
  if (!RequestStatusFrame(session, frame)) {
    session.ui.ShowMessage(MessageKind::Error, "Read temperatures com error!", kComErrorCaption);
    return false;
  }
  SetupReportReadings readings;
  if (!RequestFirmwareVersion(session.link, kVersionAttempts, readings.versionWord)) {
    session.ui.ShowMessage(MessageKind::Error, "Read firmware version com error!",
                           kComErrorCaption);
    return false;
  }
  for (int motor = 0; motor < 3; ++motor) {
    readings.motorTemperatureCounts[motor] = FrameCount(frame, 3 + 2 * motor);
  }
  readings.electronicsTemperatureCounts = FrameCount(frame, 9);
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return session.ui.PrintReport(SetupReportText(session.setup, readings, local));
}

}  // namespace velmar
