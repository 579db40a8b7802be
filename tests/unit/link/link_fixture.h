#pragma once

#include <gtest/gtest.h>

#include "link/actuator_link.h"
#include "link/serial_port.h"
#include "support/scripted_serial_driver.h"
#include "support/virtual_clock.h"

namespace velmar::test {

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
