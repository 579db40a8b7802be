#pragma once

#include <cstdint>
#include <string>

#include "ports/clock.h"
#include "ports/serial_driver.h"

namespace velmar {

// Forwards every call to a serial driver and counts them.
class CountingSerialDriver : public SerialDriver {
 public:
  explicit CountingSerialDriver(SerialDriver& driver) : driver_(driver) {}

  uint64_t Calls() const { return calls_; }

  int Open(int index, int receiveQueueSize, int transmitQueueSize) override;
  int SetBaud(int index, int baud) override;
  int SetOutputA(int index, char setOrClear) override;
  int SetOutputB(int index, char setOrClear) override;
  int Close(int index) override;
  int DropReceived(int index) override;
  int DropUnsent(int index) override;
  int Write(int index, const uint8_t* data, int length) override;
  int ReceiveCount(int index) override;
  int Read(int index, uint8_t* buffer, int limit) override;
  std::string LastError() const override { return driver_.LastError(); }

 private:
  SerialDriver& driver_;
  uint64_t calls_ = 0;
};

// The clock of velmar-cli. A pause that follows another pause with no use of the serial port in
// between only paces what a progress window shows; with nobody watching (`skipDisplayPauses`,
// stdout not a terminal) it is skipped. A pause after the port was used gives the actuator its
// time and is always kept.
class DisplayPauseClock : public Clock {
 public:
  DisplayPauseClock(Clock& clock, const CountingSerialDriver& driver, bool skipDisplayPauses)
      : clock_(clock), driver_(driver), skipDisplayPauses_(skipDisplayPauses) {}

  int64_t NowMs() override { return clock_.NowMs(); }
  void SleepMs(int ms) override;

 private:
  Clock& clock_;
  const CountingSerialDriver& driver_;
  bool skipDisplayPauses_;
  uint64_t callsAtLastPause_ = 0;
};

}  // namespace velmar
