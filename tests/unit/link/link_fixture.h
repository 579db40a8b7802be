#pragma once

#include <gtest/gtest.h>

#include "link/actuator_link.h"
#include "link/serial_port.h"
#include "support/scripted_serial_driver.h"
#include "support/virtual_clock.h"

namespace velmar::test {

using L = ActuatorLink;

// Reply frames written out by hand, so a wrong constant in the link shows.
const Bytes kAckSum = {0x01, 0x06, 0x04, 0x0B};
const Bytes kAckCrc = {0x01, 0x06, 0x05, 0x92, 0x63};
const Bytes kNakCrc = {0x01, 0x07, 0x05, 0x93, 0xF3};
const Bytes kWriteDoneSum = {0x01, 0x0E, 0x04, 0x13};
const Bytes kWriteDoneCrc = {0x01, 0x0E, 0x05, 0x95, 0xA3};

inline Bytes Le16(uint16_t v) {
  return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
}
inline Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes joined;
  for (const Bytes& part : parts) {
    joined.insert(joined.end(), part.begin(), part.end());
  }
  return joined;
}
inline Bytes Le32(uint32_t v) {
  return Join({Le16(v & 0xFFFF), Le16(v >> 16)});
}

// A link on an open COM1 whose driver replies as scripted, on virtual time.
class LinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(link.OpenPort(1, 19200), 0);
    driver.calls.clear();
    clock.sleeps.clear();
  }

  // Virtual milliseconds since `start`.
  int Elapsed(int64_t start) { return static_cast<int>(clock.NowMs() - start); }

  VirtualClock clock;
  ScriptedSerialDriver driver{clock};
  SerialPort port{driver};
  ActuatorLink link{port, clock};
};

}  // namespace velmar::test
