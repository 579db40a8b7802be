#include "support/sim_serial_driver.h"

#include <gtest/gtest.h>

#include "sim_test_helpers.h"
#include "support/virtual_clock.h"

namespace velmar::test {
namespace {

// The status reply (33 bytes) arrives byte by byte in virtual time; dropping discards only what
// has arrived, and closing forgets the rest.
TEST(SimSerialDriverTest, DeliversRepliesAsTheyArriveInVirtualTime) {
  SimulatedActuator actuator;
  VirtualClock clock;
  SimSerialDriver driver(actuator, clock);
  EXPECT_EQ(driver.Write(0, kStatusRequest.data(), 5), -1) << "not open";
  ASSERT_EQ(driver.Open(0, 2048, 512), 0);
  EXPECT_EQ(driver.Write(0, kStatusRequest.data(), 5), 5);
  EXPECT_EQ(driver.ReceiveCount(0), 0);
  clock.SleepMs(110);
  uint8_t buffer[80];
  EXPECT_EQ(driver.Read(0, buffer, 10), 10);
  EXPECT_EQ(driver.Read(0, buffer, 80), 23);

  driver.Write(0, kStatusRequest.data(), 5);
  clock.SleepMs(10);
  const int arrived = driver.ReceiveCount(0);
  EXPECT_TRUE(arrived > 0 && arrived < 33);
  driver.DropReceived(0);
  EXPECT_EQ(driver.ReceiveCount(0), 0);
  clock.Advance(100);
  EXPECT_EQ(driver.ReceiveCount(0), 33 - arrived);

  driver.Write(0, kStatusRequest.data(), 5);
  driver.Close(0);
  ASSERT_EQ(driver.Open(0, 2048, 512), 0);
  clock.Advance(100);
  EXPECT_EQ(driver.ReceiveCount(0), 0);
}

}  // namespace
}  // namespace velmar::test
