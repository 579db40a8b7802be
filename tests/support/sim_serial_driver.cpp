#include "support/sim_serial_driver.h"

#include <vector>

namespace velmar::test {

namespace {
constexpr int kFailure = -1;
constexpr int kIoFailure = -3;
}  // namespace

int SimSerialDriver::Open(int, int, int) {
  isOpen = openResult >= 0;
  return openResult;
}

int SimSerialDriver::SetBaud(int, int newBaud) {
  if (!isOpen) {
    return kFailure;
  }
  baud = newBaud;
  return 0;
}

int SimSerialDriver::SetOutputA(int, char) {
  return isOpen ? 0 : kFailure;
}

int SimSerialDriver::SetOutputB(int, char) {
  return isOpen ? 0 : kFailure;
}

int SimSerialDriver::Close(int) {
  if (!isOpen) {
    return kFailure;
  }
  isOpen = false;
  actuator_.DropOutput();
  return 0;
}

int SimSerialDriver::DropReceived(int) {
  if (!isOpen || gone) {
    return kFailure;
  }
  const int64_t now = clock_.NowMs();
  std::vector<uint8_t> discarded(actuator_.Pending(now));
  actuator_.Take(discarded.data(), discarded.size(), now);
  return 0;
}

int SimSerialDriver::DropUnsent(int) {
  return isOpen ? 0 : kFailure;
}

int SimSerialDriver::Write(int, const uint8_t* data, int length) {
  if (!isOpen || length < 0) {
    return kFailure;
  }
  writes.emplace_back(data, data + length);
  const bool lost = lose && lose(writes.back());
  if (gone) {
    return kIoFailure;
  }
  if (!lost) {
    actuator_.Input(data, static_cast<size_t>(length), clock_.NowMs());
  }
  return length;
}

int SimSerialDriver::ReceiveCount(int) {
  if (!isOpen || gone) {
    return kFailure;
  }
  return static_cast<int>(actuator_.Pending(clock_.NowMs()));
}

int SimSerialDriver::Read(int, uint8_t* buffer, int limit) {
  if (!isOpen || limit < 0) {
    return kFailure;
  }
  if (gone) {
    return kIoFailure;
  }
  return static_cast<int>(actuator_.Take(buffer, static_cast<size_t>(limit), clock_.NowMs()));
}

}  // namespace velmar::test
