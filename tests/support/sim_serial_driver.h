#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ports/clock.h"
#include "ports/serial_driver.h"
#include "simulated_actuator.h"

namespace velmar::test {

// A serial port wired to an in-process simulated actuator, on the test's clock: written bytes
// reach the actuator at once, reply bytes can be counted and read once they have arrived at the
// line rate, so link and command tests run against the simulator in virtual time.
class SimSerialDriver : public SerialDriver {
 public:
  SimSerialDriver(SimulatedActuator& actuator, Clock& clock) : actuator_(actuator), clock_(clock) {}

  int Open(int index, int receiveQueueSize, int transmitQueueSize) override;
  int SetBaud(int index, int baud) override;
  int SetOutputA(int index, char setOrClear) override;
  int SetOutputB(int index, char setOrClear) override;
  int Close(int index) override;
  // Discards the reply bytes that have arrived; bytes still on the wire arrive later.
  int DropReceived(int index) override;
  int DropUnsent(int index) override;
  int Write(int index, const uint8_t* data, int length) override;
  int ReceiveCount(int index) override;
  int Read(int index, uint8_t* buffer, int limit) override;
  std::string LastError() const override { return lastError; }

  // What Open returns; set a failure code (-1, -2, -4, -10) to make it fail.
  int openResult = 0;
  std::string lastError;
  // Every Write, in order, lost or not.
  std::vector<std::vector<uint8_t>> writes;
  // Picks the writes the line loses: they never reach the actuator. Called on every write, so it
  // may also change the driver or the actuator as the write goes out.
  std::function<bool(const std::vector<uint8_t>&)> lose;
  int baud = 0;
  bool isOpen = false;
  // The device has vanished (a cable or adapter pulled): every call on the open port fails as a
  // vanished device's does, and nothing reaches the actuator.
  bool gone = false;

 private:
  SimulatedActuator& actuator_;
  Clock& clock_;
};

}  // namespace velmar::test
