#include <string>
#include <vector>

#include "link/actuator_link.h"
#include "link/serial_port.h"
#include "support/scripted_serial_driver.h"
#include "support/virtual_clock.h"

#include <gtest/gtest.h>

namespace velmar::test {
namespace {

using Calls = std::vector<std::string>;

TEST(SerialPortTest, OpenChecksArgumentsAndDriverResults) {
  struct Case {
    const char* name;
    int port;
    int baud;
    int openResult;
    int baudResult;
    int expected;
    Calls calls;
  };
  const std::vector<Case> cases = {
      {"COM2",
       2,
       19200,
       0,
       0,
       1,
       {"Open 1 2048 512", "SetBaud 1 19200", "SetOutputA 1 S", "SetOutputB 1 S"}},
      {"port 0", 0, 19200, 0, 0, 0, {}},
      {"negative baud", 1, -1, 0, 0, 0, {}},
      {"busy", 1, 19200, -4, 0, 0, {"Open 0 2048 512"}},
      {"open -10", 1, 19200, -10, 0, 0, {"Open 0 2048 512"}},
      {"open -3 is not a failure",
       1,
       9600,
       -3,
       0,
       1,
       {"Open 0 2048 512", "SetBaud 0 9600", "SetOutputA 0 S", "SetOutputB 0 S"}},
      {"unknown baud closes again",
       3,
       12345,
       0,
       -12,
       0,
       {"Open 2 2048 512", "SetBaud 2 12345", "Close 2"}},
  };
  for (const Case& c : cases) {
    VirtualClock clock;
    ScriptedSerialDriver driver(clock);
    driver.openResult = c.openResult;
    driver.baudResult = c.baudResult;
    SerialPort port(driver);
    EXPECT_EQ(port.Open(c.port, c.baud), c.expected) << c.name;
    EXPECT_EQ(port.portNumber, c.expected == 1 ? c.port : 0) << c.name;
    EXPECT_EQ(driver.calls, c.calls) << c.name;
  }
}

TEST(SerialPortTest, CallsUseTheZeroBasedIndexAndDoNothingWhenClosed) {
  VirtualClock clock;
  ScriptedSerialDriver driver(clock);
  SerialPort port(driver);
  uint8_t buffer[ActuatorLink::kBufferSize] = {};
  const uint8_t frame[] = {0x01, 0x10, 0x04, 0x15};
  EXPECT_EQ(port.Write(frame, 4), 0);
  EXPECT_EQ(port.Read(buffer), 0);
  EXPECT_EQ(port.ReceiveCount(), 0);
  EXPECT_EQ(port.Close(), 0);
  EXPECT_TRUE(driver.calls.empty());

  ASSERT_EQ(port.Open(4, 19200), 1);
  driver.calls.clear();
  EXPECT_EQ(port.Write(frame, 4), 4);
  driver.Arrive(Bytes(100, 0x55));
  EXPECT_EQ(port.ReceiveCount(), 100);
  EXPECT_EQ(port.Read(buffer), 80);
  EXPECT_EQ(buffer[80], 0);
  driver.writeResult = -3;
  EXPECT_EQ(port.Write(frame, 4), 0);
  EXPECT_EQ(port.Close(), 1);
  EXPECT_EQ(port.portNumber, 0);
  EXPECT_EQ(driver.calls,
            (Calls{"DropReceived 3", "DropUnsent 3", "Write 3 4", "Read 3 80", "DropReceived 3",
                   "DropUnsent 3", "Write 3 4", "SetOutputB 3 C", "SetOutputA 3 C", "Close 3"}));
}

TEST(SerialPortTest, LinkPortResults) {
  VirtualClock clock;
  ScriptedSerialDriver driver(clock);
  SerialPort port(driver);
  ActuatorLink link(port, clock);
  EXPECT_EQ(link.ClosePort(), 0);
  driver.openResult = -2;
  EXPECT_EQ(link.OpenPort(3, 9600), 2);
  EXPECT_EQ(link.linkPort, 3);
  EXPECT_EQ(link.linkBaud, 9600);
  driver.openResult = 0;
  EXPECT_EQ(link.OpenPort(2, 19200), 0);
  EXPECT_EQ(link.ClosePort(), 1);
  EXPECT_EQ(link.ClosePort(), 0);
}

}  // namespace
}  // namespace velmar::test
