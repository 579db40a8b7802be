#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "sim_test_helpers.h"
#include "simulated_actuator.h"

namespace velmar::test {
namespace {

using A = SimulatedActuator;
using Inject = std::function<void(A&)>;

TEST(FaultInjectionTest, EachFaultChangesTheNextRepliesOnly) {
  const Bytes reply = Crc(0x10, "03 0A");
  Bytes corrupted = reply;
  corrupted.back() ^= 0xFF;
  struct Case {
    const char* name;
    Inject inject;
    // What the first three version requests, sent 500 ms apart, bring back.
    std::vector<Bytes> replies;
  };
  const Case cases[] = {
      {"drop two", [](A& a) { a.DropReplies(2); }, {{}, {}, reply}},
      {"corrupt check", [](A& a) { a.CorruptNextCheck(); }, {corrupted, reply, reply}},
      {"nak", [](A& a) { a.NakNextRequest(); }, {kNakCrc, reply, reply}},
      {"lose one after one", [](A& a) { a.LoseRequests(1, 1); }, {reply, {}, reply}},
      {"stray byte", [](A& a) { a.PrefixStrayByte(0x55); }, {Join({{0x55}, reply}), reply, reply}},
      // Delayed past the next request: the late reply and the next one arrive together.
      {"delay one", [](A& a) { a.DelayReplies(1, 600); }, {{}, Join({reply, reply}), reply}},
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

// Request at 1000, 2 ms processing, 520 us per byte at 19200 and 1041 us at 9600; injected
// delays and splits shift the bytes.
TEST(FaultInjectionTest, RepliesArePacedAtTheLineRateAndShiftedByDelaysAndSplits) {
  const Inject none = [](A&) {};
  const Inject delay = [](A& a) { a.DelayReplies(1, 100); };
  const Inject split = [](A& a) { a.SplitNextReply(3, 50); };
  const Bytes& version = kVersionRequestCrc;
  struct Case {
    const char* name;
    int baud;
    Bytes request;
    Inject inject;
    int64_t firstDeliveryMs;
    std::vector<std::pair<int64_t, size_t>> pendingAt;
  };
  const Case cases[] = {
      {"19200", 19200, version, none, 1003, {{1002, 0}, {1003, 1}, {1005, 5}, {1006, 7}}},
      {"status", 19200, kStatusRequest, none, 1003, {{1018, 30}, {1019, 32}, {1020, 33}}},
      {"9600", 9600, version, none, 1004, {{1003, 0}, {1004, 1}, {1009, 6}, {1010, 7}}},
      {"delayed", 19200, version, delay, 1103, {{1102, 0}, {1105, 5}}},
      {"split", 19200, version, split, 1003, {{1010, 3}, {1053, 3}, {1060, 7}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    A actuator(ActuatorState{}, LineTiming{c.baud});
    c.inject(actuator);
    Send(actuator, c.request, 1000);
    EXPECT_EQ(actuator.NextDeliveryMs(), c.firstDeliveryMs);
    for (const auto& [time, pending] : c.pendingAt) {
      EXPECT_EQ(actuator.Pending(time), pending) << "at " << time;
    }
  }
}

TEST(FaultInjectionTest, RefusedRequestIsNotCarriedOutAndADroppedAckStillLeavesTheWriteDone) {
  SimulatedActuator actuator;
  actuator.NakNextRequest();
  Send(actuator, Crc(0x05), 1000);
  EXPECT_FALSE(actuator.State().writesEnabled);
  Send(actuator, Crc(0x05), 1500);
  EXPECT_TRUE(actuator.State().writesEnabled);

  Received(actuator, 2000);
  actuator.DropReplies(1);
  Send(actuator, Crc(0x09, "00 01 34 12"), 3000);
  EXPECT_EQ(Received(actuator, 4000), kWriteDoneCrc);
  EXPECT_EQ(actuator.Memory().Word(0x100), 0x1234);
}

}  // namespace
}  // namespace velmar::test
