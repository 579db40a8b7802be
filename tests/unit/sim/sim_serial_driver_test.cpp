#include "support/sim_serial_driver.h"

#include <gtest/gtest.h>

#include "sim_test_helpers.h"
#include "support/virtual_clock.h"

namespace velmar::test {
namespace {

TEST(SimSerialDriverTest, DeliversRepliesAsTheyArriveInVirtualTime) {
  SimulatedActuator actuator;
  VirtualClock clock;
  SimSerialDriver driver(actuator, clock);
  const Bytes request{0x01, 0x13, 0x05, 0x9C, 0xF3};
  EXPECT_EQ(driver.Write(0, request.data(), 5), -1);
  ASSERT_EQ(driver.Open(0, 2048, 512), 0);

  EXPECT_EQ(driver.Write(0, request.data(), 5), 5);
  EXPECT_EQ(driver.writes, std::vector<Bytes>{request});
  EXPECT_EQ(driver.ReceiveCount(0), 0);
  clock.SleepMs(10);
  const int early = driver.ReceiveCount(0);
  EXPECT_GT(early, 0);
  EXPECT_LT(early, 33);
  clock.SleepMs(100);
  EXPECT_EQ(driver.ReceiveCount(0), 33);
  uint8_t buffer[80];
  EXPECT_EQ(driver.Read(0, buffer, 10), 10);
  EXPECT_EQ(driver.Read(0, buffer, 80), 23);
  EXPECT_EQ(buffer[11], 0x02);  // frame byte 21: the status flags show RESET
}

TEST(SimSerialDriverTest, DropReceivedDiscardsOnlyWhatHasArrived) {
  SimulatedActuator actuator;
  VirtualClock clock;
  SimSerialDriver driver(actuator, clock);
  ASSERT_EQ(driver.Open(0, 2048, 512), 0);
  const Bytes request{0x01, 0x13, 0x05, 0x9C, 0xF3};
  driver.Write(0, request.data(), 5);
  clock.Advance(10);
  const int arrived = driver.ReceiveCount(0);
  driver.DropReceived(0);
  EXPECT_EQ(driver.ReceiveCount(0), 0);
  clock.Advance(100);
  EXPECT_EQ(driver.ReceiveCount(0), 33 - arrived);

  driver.Write(0, request.data(), 5);
  driver.Close(0);
  ASSERT_EQ(driver.Open(0, 2048, 512), 0);
  clock.Advance(100);
  EXPECT_EQ(driver.ReceiveCount(0), 0);
}

TEST(SimSerialDriverTest, OpenFailureIsScripted) {
  SimulatedActuator actuator;
  VirtualClock clock;
  SimSerialDriver driver(actuator, clock);
  driver.openResult = -2;
  EXPECT_EQ(driver.Open(0, 2048, 512), -2);
  EXPECT_EQ(driver.ReceiveCount(0), -1);
}

}  // namespace
}  // namespace velmar::test
