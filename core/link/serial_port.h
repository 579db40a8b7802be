#pragma once

#include <cstdint>
#include <string>

#include "ports/serial_driver.h"

namespace velmar {

// The program's one serial port. Ports are numbered from 1 (COM1 = 1); the driver is always
// called with port - 1.
class SerialPort {
 public:
  // Largest number of bytes one Read takes from the driver.
  static constexpr int kReadLimit = 80;

  explicit SerialPort(SerialDriver& driver) : driver_(driver) {}

  // 1 when the port is open and set to `baud`, 0 otherwise.
  int Open(int port, int baud);
  // 1 when a port was open, 0 when none was.
  int Close();
  // Drops stale bytes from both queues, then sends. Bytes written, 0 on failure.
  int Write(const uint8_t* buffer, int length);
  // Bytes waiting; a negative driver error is passed on as is.
  int ReceiveCount();
  // Reads up to kReadLimit bytes into `buffer`; bytes read, 0 on failure.
  int Read(uint8_t* buffer);

  // Why the last Open failed (the device, the system's reason, the fix); empty when it did not.
  std::string OpenFailure() const { return driver_.LastError(); }

  // 1-based; 0 while no port is open.
  int32_t portNumber = 0;

 private:
  SerialDriver& driver_;
};

}  // namespace velmar
