#include "link/serial_port.h"

namespace velmar {

namespace {

constexpr int kReceiveQueueSize = 2048;
constexpr int kTransmitQueueSize = 512;

bool OpenFailed(int result) {
  return result == -1 || result == -2 || result == -4 || result == -10;
}

bool SetBaudFailed(int result) {
  return result == -1 || result == -12;
}

}  // namespace

int SerialPort::Open(int port, int baud) {
  if (port <= 0 || baud <= 0) {
    return 0;
  }
  const int index = port - 1;
  if (OpenFailed(driver_.Open(index, kReceiveQueueSize, kTransmitQueueSize))) {
    return 0;
  }
  if (SetBaudFailed(driver_.SetBaud(index, baud))) {
    // Leaving it open would keep the device locked against every later attempt.
    driver_.Close(index);
    return 0;
  }
  portNumber = port;
  driver_.SetOutputA(index, 'S');
  driver_.SetOutputB(index, 'S');
  return 1;
}

int SerialPort::Close() {
  if (portNumber == 0) {
    return 0;
  }
  const int index = portNumber - 1;
  driver_.SetOutputB(index, 'C');
  driver_.SetOutputA(index, 'C');
  driver_.Close(index);
  portNumber = 0;
  return 1;
}

int SerialPort::Write(const uint8_t* buffer, int length) {
  if (portNumber == 0) {
    return 0;
  }
  const int index = portNumber - 1;
  driver_.DropReceived(index);
  driver_.DropUnsent(index);
  const int written = driver_.Write(index, buffer, length);
  return written < 0 ? 0 : written;
}

int SerialPort::ReceiveCount() {
  if (portNumber == 0) {
    return 0;
  }
  return driver_.ReceiveCount(portNumber - 1);
}

int SerialPort::Read(uint8_t* buffer) {
  if (portNumber == 0) {
    return 0;
  }
  const int got = driver_.Read(portNumber - 1, buffer, kReadLimit);
  if (got < 0) {
    return 0;
  }
  return got > kReadLimit ? kReadLimit : got;
}

}  // namespace velmar
