#include "app/hour_meters.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "simulated_actuator.h"
#include "support/recording_ui.h"
#include "support/scripted_serial_driver.h"
#include "support/sim_serial_driver.h"
#include "support/virtual_clock.h"

namespace velmar {
namespace {

struct Bench {
  explicit Bench(uint8_t major, uint8_t minor) {
    actuator.State().firmwareMajor = major;
    actuator.State().firmwareMinor = minor;
    session.link.OpenPort(1, 19200);
  }
  bool Sent(uint8_t code) const {
    const auto& codes = actuator.ReceivedCodes();
    return std::find(codes.begin(), codes.end(), code) != codes.end();
  }
  SimulatedActuator actuator;
  test::VirtualClock clock;
  test::SimSerialDriver driver{actuator, clock};
  test::RecordingUi ui;
  Session session{driver, clock, ui};
};

constexpr uint8_t kRunHoursRequest = 0x15;
constexpr uint8_t kPoweredHoursRequest = 0x17;

TEST(HourMeters, FollowTheFirmwareVersionRules) {
  struct Case {
    const char* name;
    uint8_t major, minor;
    void (*command)(Session&);
    uint32_t hours;
    uint8_t request;
    bool requestSent;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"run hours need 2.02", 2, 1, ShowRunHours, 100, kRunHoursRequest, false,
       "Warning|Program Error|Run Hours feature not supported by this firmware version."},
      {"2.02 reads the 16-bit counter", 2, 2, ShowRunHours, 4000, kRunHoursRequest, true,
       "Information|Run Hours Status|4000 Hours"},
      {"2.05 counts in fours", 2, 5, ShowRunHours, 4001, kRunHoursRequest, true,
       "Information|Run Hours Status|4000 Hours"},
      {"2.06 reads the 32-bit counter", 2, 6, ShowRunHours, 4001, kRunHoursRequest, true,
       "Information|Run Hours Status|4001 Hours"},
      {"a count with the top bit set shows negative", 3, 10, ShowRunHours, 0x80000000u,
       kRunHoursRequest, true, "Information|Run Hours Status|-2147483648 Hours"},
      {"powered hours need 2.06", 2, 5, ShowPoweredHours, 50, kPoweredHoursRequest, false,
       "Warning|Program Error|Powered Hours feature not supported by this firmware version."},
      {"2.06 reads powered hours", 2, 6, ShowPoweredHours, 50, kPoweredHoursRequest, true,
       "Information|Powered Hours Status|50 Hours"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bench bench(c.major, c.minor);
    bench.actuator.State().runHours = c.hours;
    bench.actuator.State().poweredHours = c.hours;
    c.command(bench.session);
    EXPECT_EQ(bench.Sent(c.request), c.requestSent);
    EXPECT_EQ(bench.ui.Messages(), std::vector<std::string>{c.message});
  }
}

TEST(HourMeters, ReportEachFailureInItsOwnBox) {
  struct Case {
    const char* name;
    void (*command)(Session&);
    bool versionAnswered;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"no version reply", ShowRunHours, false,
       "Warning|Program Error|Actuator failed to respond to firmware version request."},
      {"no run hours reply", ShowRunHours, true,
       "Error|Run Hours Status|No response to Run Hours request."},
      {"no powered hours reply", ShowPoweredHours, true,
       "Error|Powered Hours Status|No response to Powered Hours request."},
      {"no firmware version reply", ShowFirmwareVersion, false,
       "Error|Firmware Version|No response to version number request."},
  };
  const test::Bytes versionRequest = {0x01, 0x10, 0x04, 0x15};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::VirtualClock clock;
    test::ScriptedSerialDriver driver(clock);
    test::RecordingUi ui;
    Session session(driver, clock, ui);
    session.link.OpenPort(1, 19200);
    session.link.runHours32 = 7;
    if (c.versionAnswered) {
      driver.SetReplyHandler([&](const test::Bytes& request) {
        return request == versionRequest ? test::SumFrame(0x10, {3, 10}) : test::Bytes{};
      });
    }
    c.command(session);
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{c.message});
    EXPECT_EQ(session.link.runHours32, 7u);
  }
}

TEST(HourMeters, FirmwareVersionShowsAndStoresTheVersion) {
  for (bool crc : {false, true}) {
    Bench bench(3, 10);
    bench.actuator.State().frameMode = crc ? FrameMode::kCrc : FrameMode::kSum;
    bench.session.link.crcMode = crc ? 1 : 0;
    ShowFirmwareVersion(bench.session);
    EXPECT_EQ(bench.ui.Messages(),
              std::vector<std::string>{"Information|Firmware Version|Actuator firmware version "
                                       "is 3.10"});
    EXPECT_EQ(bench.session.link.firmwareVersion, 0x30A);
  }
}

}  // namespace
}  // namespace velmar
