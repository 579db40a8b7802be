#include "app/communication_poll.h"

namespace velmar {

void CommunicationPoll::StartPoll(bool start) {
  if (start && stoppedForGood_) {
    return;
  }
  running = start;
  if (onRunningChanged) {
    onRunningChanged(start);
  }
}

void CommunicationPoll::StopForGood() {
  stoppedForGood_ = true;
  StartPoll(false);
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
  if (link.ReceiveFirmwareVersion() != LinkResult::kSuccess) {
    link.SetFirmwareVersion(0);
    transmit = false;
    receive = false;
    pollState = pollState == 1 ? 2 : 0;
    return;
  }
  transmit = false;
  receive = true;
  // The reply's form has set the link's frame mode.
  session_.AcceptFirmwareVersion(link.ReplyFirmwareVersion());
  pollState = link.CrcMode() ? 1 : 2;
}

}  // namespace velmar
