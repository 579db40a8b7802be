#include "monitor/status_monitor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor/status_watch.h"
#include "support/frame_literals.h"
#include "support/virtual_clock.h"

namespace velmar {
namespace {

using test::Bytes;

// A status frame with 512 counts of motor current (12.5 A) and position 0x0007_0000.
const Bytes kGood = test::Crc(0x33,
                              "FF 03 FF 03 FF 03 FF 03 00 02 00 00 00 00 07 00 00 00 02 00 "
                              "CC 02 CC 02 65 02 00 00");
const Bytes kStatusRequest = test::Hex("01 13 05 9C F3");

Bytes WithBadCheck(Bytes frame) {
  frame.back() ^= 0xFF;
  return frame;
}

struct MonitorFixture {
  // One reply per status request; an empty one: nothing comes back.
  explicit MonitorFixture(const std::vector<Bytes>& replies) {
    port.Open(1, 19200);
    for (const Bytes& reply : replies) {
      reply.empty() ? driver.SilenceNextWrites() : driver.ReplyNextWrite(reply, 30);
    }
    monitor.Start();
  }
  // One token per tick: what it did, the lamps, the count, and "+" while the values are a
  // reading's (512 counts of current) rather than the no-data values.
  std::string Run(int ticks) {
    std::string trace;
    for (int i = 0; i < ticks; ++i) {
      clock.Advance(StatusMonitor::kTickMs);
      static constexpr char kResults[] = "SRODX";
      trace += (i == 0 ? "" : ",");
      trace += kResults[static_cast<int>(monitor.Tick())];
      trace += monitor.transmit ? "T" : "-";
      trace += monitor.receive ? "R" : "-";
      trace += std::to_string(monitor.tickCount);
      trace += monitor.values.motorCurrentRaw == 512 ? "+" : "";
    }
    return trace;
  }
  test::VirtualClock clock;
  test::ScriptedSerialDriver driver{clock};
  SerialPort port{driver};
  ActuatorLink link{port, clock};
  StatusMonitor monitor{link, port, 1966079, 0x30A};
};

TEST(StatusMonitor, TickMachineOnScriptedReplies) {
  const Bytes wrongCode = test::CrcFrame(0x32, Bytes(28, 0));
  const struct {
    const char* name;
    std::vector<Bytes> replies;
    int ticks;
    const char* trace;
  } cases[] = {
      {"a good reply, then a request every second tick",
       {{kGood}, {kGood}},
       6,
       "X--1,ST-2,R-R0+,X--1+,ST-2+,R-R0+"},
      {"a stray byte makes 34 waiting: discarded, both lamps out",
       {{test::Join({test::Hex("FF"), kGood})}, {kGood}},
       5,
       "X--1,ST-2,X--3,ST-4,R-R0+"},
      {"a good check with another code lights Rx and resets the count only",
       {{wrongCode}},
       3,
       "X--1,ST-2,O-R0"},
      {"a bad check changes nothing",
       {{WithBadCheck(kGood)}, {kGood}},
       5,
       "X--1,ST-2,DT-3,ST-4,R-R0+"},
      {"more than 6 ticks without a reply show no data, until a good reply",
       {{kGood}, {}, {}, {}, {kGood}},
       13,
       "X--1,ST-2,R-R0+,X--1+,ST-2+,X--3+,ST-4+,X--5+,ST-6+,X--7,ST-8,R-R0+,X--1+"},
      {"a wrong code keeps the values shown",
       {{kGood}, {wrongCode}},
       6,
       "X--1,ST-2,R-R0+,X--1+,ST-2+,O-R0+"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MonitorFixture f(c.replies);
    EXPECT_EQ(f.Run(c.ticks), c.trace);
    for (const Bytes& written : f.driver.writes) {
      EXPECT_EQ(written, kStatusRequest);
    }
  }
}

TEST(StatusMonitor, StartThrowsAwayStaleBytesAndShowsNoData) {
  MonitorFixture f({});
  f.driver.Arrive(kGood);
  f.monitor.values.motorCurrentRaw = 99;
  f.monitor.tickCount = 4;
  f.monitor.Start();
  EXPECT_EQ(f.driver.VisibleCount(), 0);
  EXPECT_EQ(f.monitor.tickCount, 0);
  EXPECT_EQ(f.monitor.values.motorCurrentRaw, 0);
  EXPECT_EQ(f.monitor.display.Field(StatusQuantity::MotorCurrent).text, "0.0");
  EXPECT_EQ(f.monitor.display.ModeName(), "none");
}

TEST(StatusWatch, PacesTicksByIntervalOrByTheReply) {
  const struct {
    int intervalMs;
    int replyDelayMs;
    int64_t readingMs;  // from the first request
    int64_t elapsedMs;  // from the start
  } cases[] = {
      {750, 30, 750, 1500},  // ticks at 0, 750 (request) and 1500 (reading)
      {0, 30, 30, 30},       // the reading tick as soon as the frame is waiting
      {0, 700, 700, 700},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.intervalMs);
    MonitorFixture f({});
    f.driver.ReplyNextWrite(kGood, c.replyDelayMs);
    f.driver.ReplyNextWrite(kGood, c.replyDelayMs);
    StatusWatch watch(f.monitor, f.port, f.clock, c.intervalMs);
    const int64_t start = f.clock.NowMs();
    ASSERT_TRUE(watch.NextReading([] { return false; }));
    EXPECT_EQ(watch.ReadingTimeMs(), c.readingMs);
    EXPECT_EQ(f.clock.NowMs() - start, c.elapsedMs);
  }
}

TEST(StatusWatch, GivesUpAfterSixTicksOrWhenStopped) {
  MonitorFixture f({{}, {}, {}, {}});
  StatusWatch watch(f.monitor, f.port, f.clock, 0);
  EXPECT_FALSE(watch.NextReading([] { return false; }));
  EXPECT_EQ(f.monitor.tickCount, 7);
  EXPECT_EQ(f.driver.writes.size(), 3u);
  EXPECT_FALSE(watch.NextReading([] { return true; }));
  EXPECT_EQ(f.monitor.tickCount, 7);
}

}  // namespace
}  // namespace velmar
