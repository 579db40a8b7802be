#include "monitor/status_monitor.h"

namespace velmar {

StatusMonitor::StatusMonitor(ActuatorLink& link, SerialPort& serialPort, uint32_t span,
                             int firmwareVersion)
    : link_(link), serialPort_(serialPort), span_(span), firmwareVersion_(firmwareVersion) {}

void StatusMonitor::Refresh() {
  display = ShowStatus(values, span_, firmwareVersion_);
}

void StatusMonitor::Start() {
  values = StatusReading{};
  Refresh();
  tickCount = 0;
  transmit = false;
  receive = false;
  if (serialPort_.ReceiveCount() > 0) {
    uint8_t stale[SerialPort::kReadLimit];
    serialPort_.Read(stale);
  }
}

StatusMonitor::TickResult StatusMonitor::Tick() {
  ++tickCount;
  TickResult result = TickResult::Sent;
  if (tickCount % 2 == 0) {
    link_.SendStatusRequest();
    transmit = true;
    receive = false;
  } else {
    result = Listen();
  }
  if (tickCount > kNoDataTicks) {
    values = StatusReading{};
    Refresh();
  }
  return result;
}

StatusMonitor::TickResult StatusMonitor::Listen() {
  uint8_t frame[SerialPort::kReadLimit] = {};
  const int waiting = serialPort_.ReceiveCount();
  if (waiting != kStatusFrameLength) {
    if (waiting > 0) {
      serialPort_.Read(frame);
    }
    transmit = false;
    receive = false;
    return TickResult::Discarded;
  }
  if (serialPort_.Read(frame) != kStatusFrameLength ||
      link_.CheckFrameCrc(frame) != LinkResult::kSuccess) {
    return TickResult::Damaged;
  }
  const bool statusReply = IsStatusReply(frame);
  if (statusReply) {
    values = DecodeStatusFrame(frame);
  }
  transmit = false;
  receive = true;
  Refresh();
  tickCount = 0;
  return statusReply ? TickResult::Reading : TickResult::OtherReply;
}

}  // namespace velmar
