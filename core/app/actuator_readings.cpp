#include "app/actuator_readings.h"

#include <cstring>

namespace velmar {

namespace {

constexpr int kAttempts = 5;
constexpr int kPolls = 30;
constexpr int kPollIntervalMs = 100;
constexpr int kFailedAttemptSleepMs = 250;
constexpr uint8_t kSoh = 0x01;
constexpr uint8_t kStatusReplyCode = 0x33;

// One attempt's polls; false when no good frame came.
bool PollForFrame(Session& session, StatusFrame& frame) {
  uint8_t received[SerialPort::kReadLimit] = {};
  for (int poll = 0; poll < kPolls; ++poll) {
    session.clock.SleepMs(kPollIntervalMs);
    const int count = session.serialPort.ReceiveCount();
    if (count <= 0) {
      continue;
    }
    const int read = session.serialPort.Read(received);
    if (count != ActuatorLink::kStatusFrameLength) {
      continue;
    }
    if (read != ActuatorLink::kStatusFrameLength || received[0] != kSoh ||
        received[1] != kStatusReplyCode || received[2] != ActuatorLink::kStatusFrameLength ||
        session.link.CheckFrameCrc(received) != LinkResult::kSuccess) {
      return false;
    }
    std::memcpy(frame, received, sizeof frame);
    return true;
  }
  return false;
}

}  // namespace

bool RequestStatusFrame(Session& session, StatusFrame& frame) {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    session.link.SendStatusRequest();
    if (PollForFrame(session, frame)) {
      return true;
    }
    session.clock.SleepMs(kFailedAttemptSleepMs);
  }
  return false;
}

bool RequestFirmwareVersion(ActuatorLink& link, int attempts, int& version) {
  for (int attempt = 0; attempt < attempts; ++attempt) {
    link.SendFirmwareVersionRequest();
    if (link.ReceiveFirmwareVersion() == LinkResult::kSuccess) {
      version = link.ReplyFirmwareVersion();
      return true;
    }
  }
  return false;
}

}  // namespace velmar
