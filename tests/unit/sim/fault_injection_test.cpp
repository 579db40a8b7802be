#include <gtest/gtest.h>

#include <functional>

#include "sim_test_helpers.h"
#include "simulated_actuator.h"

namespace velmar::test {
namespace {

const Bytes kVersionRequest{0x01, 0x10, 0x05, 0x9C, 0x03};

TEST(FaultInjectionTest, EachFaultChangesTheNextRepliesOnly) {
  const Bytes reply = WithCrc({0x01, 0x10, 0x07, 3, 10});
  Bytes corrupted = reply;
  corrupted.back() ^= 0xFF;
  const Bytes stray = Concat({0x55}, reply);
  const Bytes nak{0x01, 0x07, 0x05, 0x93, 0xF3};
  struct Case {
    const char* name;
    std::function<void(SimulatedActuator&)> inject;
    // What the first three version requests, sent 500 ms apart, bring back.
    std::vector<Bytes> replies;
  };
  const Case cases[] = {
      {"drop two", [](SimulatedActuator& a) { a.DropReplies(2); }, {{}, {}, reply}},
      {"corrupt one check",
       [](SimulatedActuator& a) { a.CorruptNextCheck(); },
       {corrupted, reply, reply}},
      {"negative acknowledge",
       [](SimulatedActuator& a) { a.NakNextRequest(); },
       {nak, reply, reply}},
      {"stray byte", [](SimulatedActuator& a) { a.PrefixStrayByte(0x55); }, {stray, reply, reply}},
      // Delayed past the next request: the late reply and the next one arrive together.
      {"delay one",
       [](SimulatedActuator& a) { a.DelayReplies(1, 600); },
       {{}, Concat(reply, reply), reply}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SimulatedActuator actuator;
    c.inject(actuator);
    for (size_t i = 0; i < c.replies.size(); ++i) {
      const int64_t sentAt = 1000 + 500 * static_cast<int64_t>(i);
      Send(actuator, kVersionRequest, sentAt);
      EXPECT_EQ(Received(actuator, sentAt + 400), c.replies[i]) << "request " << i;
    }
  }
}

TEST(FaultInjectionTest, DelayAndSplitShiftTheArrivalTimes) {
  SimulatedActuator actuator;
  actuator.DelayReplies(1, 100);
  Send(actuator, kVersionRequest, 1000);
  EXPECT_EQ(actuator.NextDeliveryMs(), 1103);
  EXPECT_EQ(actuator.Pending(1105), 5u);

  SimulatedActuator split;
  split.SplitNextReply(3, 50);
  Send(split, kVersionRequest, 1000);
  EXPECT_EQ(split.Pending(1010), 3u);
  EXPECT_EQ(split.Pending(1053), 3u);
  EXPECT_EQ(split.Pending(1060), 7u);
}

TEST(FaultInjectionTest, RefusedRequestIsNotCarriedOut) {
  SimulatedActuator actuator;
  actuator.NakNextRequest();
  Send(actuator, {0x01, 0x05, 0x05, 0x92, 0x93}, 1000);
  EXPECT_FALSE(actuator.State().writesEnabled);
  Send(actuator, {0x01, 0x05, 0x05, 0x92, 0x93}, 1500);
  EXPECT_TRUE(actuator.State().writesEnabled);
}

TEST(FaultInjectionTest, DroppedAcknowledgeStillLeavesTheWriteDone) {
  SimulatedActuator actuator;
  actuator.State().writesEnabled = true;
  actuator.DropReplies(1);
  Send(actuator, WithCrc({0x01, 0x09, 0x09, 0x00, 0x01, 0x34, 0x12}), 1000);
  EXPECT_EQ(Received(actuator, 2000), (Bytes{0x01, 0x0E, 0x05, 0x95, 0xA3}));
  EXPECT_EQ(actuator.Memory().Word(0x100), 0x1234);
}

}  // namespace
}  // namespace velmar::test
