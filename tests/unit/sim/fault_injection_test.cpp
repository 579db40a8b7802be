#include <gtest/gtest.h>

#include <functional>

#include "sim_test_helpers.h"
#include "simulated_actuator.h"

namespace velmar::test {
namespace {

using A = SimulatedActuator;

TEST(FaultInjectionTest, EachFaultChangesTheNextRepliesOnly) {
  const Bytes reply = CrcFrame(0x10, {3, 10});
  Bytes corrupted = reply;
  corrupted.back() ^= 0xFF;
  struct Case {
    const char* name;
    std::function<void(A&)> inject;
    // What the first three version requests, sent 500 ms apart, bring back.
    std::vector<Bytes> replies;
  };
  const Case cases[] = {
      {"drop two", [](A& a) { a.DropReplies(2); }, {{}, {}, reply}},
      {"corrupt check", [](A& a) { a.CorruptNextCheck(); }, {corrupted, reply, reply}},
      {"nak", [](A& a) { a.NakNextRequest(); }, {kNakCrc, reply, reply}},
      {"stray byte", [](A& a) { a.PrefixStrayByte(0x55); }, {Concat({0x55}, reply), reply, reply}},
      // Delayed past the next request: the late reply and the next one arrive together.
      {"delay one", [](A& a) { a.DelayReplies(1, 600); }, {{}, Concat(reply, reply), reply}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SimulatedActuator actuator;
    c.inject(actuator);
    for (size_t i = 0; i < c.replies.size(); ++i) {
      const int64_t sentAt = 1000 + 500 * static_cast<int64_t>(i);
      Send(actuator, kVersionRequestCrc, sentAt);
      EXPECT_EQ(Received(actuator, sentAt + 400), c.replies[i]) << "request " << i;
    }
  }
}

TEST(FaultInjectionTest, DelayAndSplitShiftTheArrivalTimes) {
  SimulatedActuator actuator;
  actuator.DelayReplies(1, 100);
  Send(actuator, kVersionRequestCrc, 1000);
  EXPECT_EQ(actuator.NextDeliveryMs(), 1103);
  EXPECT_EQ(actuator.Pending(1105), 5u);

  SimulatedActuator split;
  split.SplitNextReply(3, 50);
  Send(split, kVersionRequestCrc, 1000);
  EXPECT_EQ(split.Pending(1010), 3u);
  EXPECT_EQ(split.Pending(1053), 3u);
  EXPECT_EQ(split.Pending(1060), 7u);
}

TEST(FaultInjectionTest, RefusedRequestIsNotCarriedOutAndADroppedAckStillLeavesTheWriteDone) {
  SimulatedActuator actuator;
  actuator.NakNextRequest();
  Send(actuator, CrcFrame(0x05), 1000);
  EXPECT_FALSE(actuator.State().writesEnabled);
  Send(actuator, CrcFrame(0x05), 1500);
  EXPECT_TRUE(actuator.State().writesEnabled);

  Received(actuator, 2000);
  actuator.DropReplies(1);
  Send(actuator, CrcFrame(0x09, {0x00, 0x01, 0x34, 0x12}), 3000);
  EXPECT_EQ(Received(actuator, 4000), kWriteDoneCrc);
  EXPECT_EQ(actuator.Memory().Word(0x100), 0x1234);
}

}  // namespace
}  // namespace velmar::test
