#pragma once

#include <gtest/gtest.h>

#include "link/actuator_link.h"
#include "link/serial_port.h"
#include "support/frame_literals.h"
#include "support/virtual_clock.h"

namespace velmar::test {

using L = ActuatorLink;

// A link result as its number, the form tables state it in.
inline int Code(LinkResult result) {
  return static_cast<int>(result);
}

// Reply frames written out by hand, so a wrong constant in the link shows.
const Bytes kAckSum = Hex("01 06 04 0B"), kAckCrc = Hex("01 06 05 92 63");
const Bytes kNakCrc = Hex("01 07 05 93 F3");
const Bytes kDoneSum = Hex("01 0E 04 13"), kDoneCrc = Hex("01 0E 05 95 A3");

// A link on an open COM1 whose driver replies as scripted, on virtual time.
class LinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Code(link.OpenPort(1, 19200)), 0);
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
