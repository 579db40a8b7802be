#include "app/communication_poll.h"

namespace velmar {

namespace {
// LEN of a version reply in CRC form; the sum form is one byte shorter.
constexpr int kCrcVersionReplyLength = 7;
}  // namespace

void CommunicationPoll::StartPoll(bool start) {
  running = start;
  if (onRunningChanged) {
    onRunningChanged(start);
  }
}

void CommunicationPoll::Tick() {
  if (ticking_) {
    return;
  }
  ticking_ = true;
  if (!comIndicatorsEnabled) {
    transmit = false;
    receive = false;
    pollState = 0;
  } else if (pollState == 0 || pollState == 2) {
    transmit = true;
    receive = false;
    if (pollState == 0) {
      session_.link.SendFirmwareVersionRequestCrc();
    } else {
      session_.link.SendFirmwareVersionRequest();
    }
    pollState += 1;
  } else {
    Listen();
  }
  ticking_ = false;
}

void CommunicationPoll::Listen() {
  ActuatorLink& link = session_.link;
  if (link.ReceiveFirmwareVersion() != 0) {
    link.firmwareVersion = 0;
    transmit = false;
    receive = false;
    pollState = pollState == 1 ? 2 : 0;
    return;
  }
  transmit = false;
  receive = true;
  link.crcMode = link.rxBuffer[2] == kCrcVersionReplyLength ? 1 : 0;
  session_.AcceptFirmwareVersion(link.ReplyFirmwareVersion());
  pollState = link.crcMode ? 1 : 2;
}

}  // namespace velmar
