#include "display_pause_clock.h"

namespace velmar {

int CountingSerialDriver::Open(int index, int receiveQueueSize, int transmitQueueSize) {
  ++calls_;
  return driver_.Open(index, receiveQueueSize, transmitQueueSize);
}

int CountingSerialDriver::SetBaud(int index, int baud) {
  ++calls_;
  return driver_.SetBaud(index, baud);
}

int CountingSerialDriver::SetOutputA(int index, char setOrClear) {
  ++calls_;
  return driver_.SetOutputA(index, setOrClear);
}

int CountingSerialDriver::SetOutputB(int index, char setOrClear) {
  ++calls_;
  return driver_.SetOutputB(index, setOrClear);
}

int CountingSerialDriver::Close(int index) {
  ++calls_;
  return driver_.Close(index);
}

int CountingSerialDriver::DropReceived(int index) {
  ++calls_;
  return driver_.DropReceived(index);
}

int CountingSerialDriver::DropUnsent(int index) {
  ++calls_;
  return driver_.DropUnsent(index);
}

int CountingSerialDriver::Write(int index, const uint8_t* data, int length) {
  ++calls_;
  return driver_.Write(index, data, length);
}

int CountingSerialDriver::ReceiveCount(int index) {
  ++calls_;
  return driver_.ReceiveCount(index);
}

int CountingSerialDriver::Read(int index, uint8_t* buffer, int limit) {
  ++calls_;
  return driver_.Read(index, buffer, limit);
}

void DisplayPauseClock::SleepMs(int ms) {
  if (skipDisplayPauses_ && driver_.Calls() == callsAtLastPause_) {
    return;
  }
  clock_.SleepMs(ms);
  callsAtLastPause_ = driver_.Calls();
}

}  // namespace velmar
