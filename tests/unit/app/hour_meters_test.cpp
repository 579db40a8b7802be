#include "app/hour_meters.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "unit/app/sim_bench.h"

namespace velmar {
namespace {

TEST(HourMeters, FollowTheFirmwareVersionRules) {
  constexpr uint8_t kRunHours = 0x15, kPoweredHours = 0x17, kVersion = 0x10;
  struct Case {
    const char* name;
    int version;
    FrameMode frames;
    void (*command)(Session&);
    uint32_t hours;
    uint8_t request;
    bool requestSent;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"run hours need 2.02", 0x201, FrameMode::kCrc, ShowRunHours, 100, kRunHours, false,
       "Warning|Program Error|Run Hours feature not supported by this firmware version."},
      {"2.02 reads the 16-bit counter", 0x202, FrameMode::kCrc, ShowRunHours, 4000, kRunHours, true,
       "Information|Run Hours Status|4000 Hours"},
      {"2.05 counts in fours", 0x205, FrameMode::kCrc, ShowRunHours, 4001, kRunHours, true,
       "Information|Run Hours Status|4000 Hours"},
      {"2.06 reads the 32-bit counter", 0x206, FrameMode::kCrc, ShowRunHours, 4001, kRunHours, true,
       "Information|Run Hours Status|4001 Hours"},
      {"a count with the top bit set shows negative", 0x30A, FrameMode::kCrc, ShowRunHours,
       0x80000000u, kRunHours, true, "Information|Run Hours Status|-2147483648 Hours"},
      {"powered hours need 2.06", 0x205, FrameMode::kCrc, ShowPoweredHours, 50, kPoweredHours,
       false,
       "Warning|Program Error|Powered Hours feature not supported by this firmware version."},
      {"2.06 reads powered hours", 0x206, FrameMode::kCrc, ShowPoweredHours, 50, kPoweredHours,
       true, "Information|Powered Hours Status|50 Hours"},
      {"sum version", 0x30A, FrameMode::kSum, ShowFirmwareVersion, 0, kVersion, true,
       "Information|Firmware Version|Actuator firmware version is 3.10"},
      {"crc version", 0x30A, FrameMode::kCrc, ShowFirmwareVersion, 0, kVersion, true,
       "Information|Firmware Version|Actuator firmware version is 3.10"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::SimBench bench(test::Actuator(c.version, ModeState::kReset, c.frames));
    bench.actuator.State().runHours = c.hours;
    bench.actuator.State().poweredHours = c.hours;
    bench.session.link.SetCrcMode(c.frames == FrameMode::kCrc);
    c.command(bench.session);
    const auto& codes = bench.actuator.ReceivedCodes();
    EXPECT_EQ(std::ranges::find(codes, c.request) != codes.end(), c.requestSent);
    EXPECT_EQ(bench.ui.Messages(), std::vector<std::string>{c.message});
    EXPECT_EQ(bench.session.link.FirmwareVersion(), c.version);
  }
}

TEST(HourMeters, ReportEachFailureInItsOwnBox) {
  struct Case {
    void (*command)(Session&);
    bool versionAnswered;
    std::string message;
  };
  const std::vector<Case> cases = {
      {ShowRunHours, false,
       "Warning|Program Error|Actuator failed to respond to firmware version request."},
      {ShowRunHours, true, "Error|Run Hours Status|No response to Run Hours request."},
      {ShowPoweredHours, true, "Error|Powered Hours Status|No response to Powered Hours request."},
      {ShowFirmwareVersion, false, "Error|Firmware Version|No response to version number request."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    test::SimBench bench;
    bench.driver.lose = [&](const auto& request) {
      return !c.versionAnswered || request[1] != 0x10;
    };
    c.command(bench.session);
    EXPECT_EQ(bench.ui.Messages(), std::vector<std::string>{c.message});
    EXPECT_EQ(bench.session.link.RunHours32(), 0u);
  }
}

}  // namespace
}  // namespace velmar
