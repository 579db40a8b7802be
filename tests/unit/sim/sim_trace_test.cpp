#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/temp_folder.h"
#include "link/frame_trace.h"
#include "sim_test_helpers.h"
#include "support/file_bytes.h"

namespace velmar::test {
namespace {

// The actuator's side: requests it understood come in, replies go out at the time they are
// ready to leave; noise and damaged requests are not frames it saw.
TEST(SimTraceTest, RequestsReceivedAndRepliesSentOneLineEach) {
  TempFolder folder;
  const std::string path = (folder.Path() / "sim.trace").string();
  std::unique_ptr<FrameTrace> trace;
  std::string error;
  ASSERT_TRUE(FrameTrace::OpenRequested(path, trace, error)) << error;
  ActuatorState state;
  state.firmwareMajor = 3;
  state.firmwareMinor = 10;
  SimulatedActuator actuator(state);
  actuator.SetTrace(trace.get());

  Send(actuator, Hex("FF 01 10 05 9C 04"), 1);  // bad check: no frame
  Send(actuator, Join({{0x7F}, kVersionRequestCrc}), 20);
  Send(actuator, Hex("01 05 05 92"), 40);  // the rest never comes
  trace.reset();
  EXPECT_EQ(
      ReadBytes(path),
      "20 RX 01 10 05 9C 03 [firmware-version]\n22 TX 01 10 07 03 0A 08 36 [firmware-version]\n");
}

}  // namespace
}  // namespace velmar::test
