#pragma once

#include <array>
#include <string>

#include "ports/serial_driver.h"

namespace velmar {

// SerialDriver on POSIX termios. COM n (index n - 1) is the device named by the environment
// variable VELMAR_COM<n>, else /dev/ttyS<n-1>. A device opened here is held exclusively: another
// program cannot open it, and neither can a second instance of this one.
class PosixSerialDriver : public SerialDriver {
 public:
  static constexpr int kMaxPorts = 256;

  PosixSerialDriver();
  ~PosixSerialDriver() override;
  PosixSerialDriver(const PosixSerialDriver&) = delete;
  PosixSerialDriver& operator=(const PosixSerialDriver&) = delete;

  // Makes every port index use `path`; an empty path restores the usual mapping.
  void SetDeviceOverride(const std::string& path) { deviceOverride_ = path; }
  // The device a port index maps to.
  std::string DevicePath(int index) const;

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
  std::string LastError() const override { return lastError_; }

 private:
  // Opens the device of `index` into its slot: 0, or the Open failure code.
  int OpenDevice(int index);
  // A device that hung up or failed with an I/O error is gone (a cable or adapter pulled); the
  // next request tries to open it again, set to the speed it had.
  int Lost(int index);
  bool Reopen(int index);
  int Descriptor(int index) const;
  int SetModemLine(int index, int line, char setOrClear);
  int FailOpen(const std::string& path, int error, int code);

  std::array<int, kMaxPorts> descriptors_;
  std::array<bool, kMaxPorts> lost_{};
  std::array<int, kMaxPorts> bauds_{};
  std::string deviceOverride_;
  std::string lastError_;
};

}  // namespace velmar
