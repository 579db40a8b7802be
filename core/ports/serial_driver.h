#pragma once

#include <cstdint>
#include <string>

namespace velmar {

// The serial-communications driver calls the program relies on. Ports are numbered from 0
// here (COM1 = index 0). Negative results are the driver's error codes.
class SerialDriver {
 public:
  virtual ~SerialDriver() = default;

  // -1, -2, -4 and -10 mean failure; any other value is success.
  virtual int Open(int index, int receiveQueueSize, int transmitQueueSize) = 0;
  // -1 and -12 mean failure.
  virtual int SetBaud(int index, int baud) = 0;
  // Modem-control outputs A (DTR) and B (RTS): 'S' sets, 'C' clears. Results are ignored.
  virtual int SetOutputA(int index, char setOrClear) = 0;
  virtual int SetOutputB(int index, char setOrClear) = 0;
  virtual int Close(int index) = 0;
  virtual int DropReceived(int index) = 0;
  virtual int DropUnsent(int index) = 0;
  // -1 and -3 mean failure.
  virtual int Write(int index, const uint8_t* data, int length) = 0;
  virtual int ReceiveCount(int index) = 0;
  // Reads up to `limit` bytes; -1 and -3 mean failure.
  virtual int Read(int index, uint8_t* buffer, int limit) = 0;

  // Why the last Open failed, empty when it did not: lines naming the device tried, the
  // system's reason and, for the common causes, what to do about it.
  virtual std::string LastError() const = 0;
};

}  // namespace velmar
