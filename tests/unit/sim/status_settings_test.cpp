#include "status_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "base/frame_check.h"
#include "base/little_endian.h"
#include "base/temp_folder.h"
#include "sim_test_helpers.h"
#include "support/file_bytes.h"

namespace velmar::test {
namespace {

TEST(StatusSettings, ValuesByNameFromOptionsAndFiles) {
  StatusValues status;
  std::string error;
  for (const char* good :
       {"motor-temp2=0x200", "elec-temp=190", "motor-current=-512", "demand=0x99990000",
        "position=-1966079", "plus14=716", "fault-bits=0x8001", "travel=0"}) {
    EXPECT_TRUE(SetStatusValue(good, status, error)) << good << ": " << error;
  }
  EXPECT_EQ(status.motorTemperature[1], 0x200);
  EXPECT_EQ(status.electronicsTemperature, 190);
  EXPECT_EQ(status.motorCurrent, -512);
  EXPECT_EQ(status.positionDemand, 0x99990000u);
  EXPECT_EQ(static_cast<int32_t>(status.position), -1966079);
  EXPECT_EQ(status.faultBits, 0x8001);
  for (const char* bad : {"motor-current=40000", "plus14=", "fault-bits=0x10000", "speed=3",
                          "motor-temp1", "elec-temp=-1", "position=12x"}) {
    EXPECT_FALSE(SetStatusValue(bad, status, error)) << bad;
  }

  const TempFolder folder;
  const std::string path = (folder.Path() / "status.txt").string();
  WriteBytes(path, "# a comment\r\n\nminus14=700\r\nplus120=613\n");
  ASSERT_TRUE(LoadStatusFile(path, status, error)) << error;
  EXPECT_EQ(status.minus14V, 700);
  EXPECT_EQ(status.plus120V, 613);
  WriteBytes(path, "minus14=1\nplus120=nonsense\n");
  EXPECT_FALSE(LoadStatusFile(path, status, error));
  EXPECT_NE(error.find("status.txt:2"), std::string::npos) << error;
  EXPECT_EQ(status.minus14V, 700);  // nothing taken from a bad file

  StatusFault fault = StatusFault::kNone;
  int count = 0;
  EXPECT_TRUE(ParseStatusFault("wrong-code", fault, count));
  EXPECT_EQ(fault, StatusFault::kWrongCode);
  EXPECT_EQ(count, -1);
  EXPECT_TRUE(ParseStatusFault("short:3", fault, count));
  EXPECT_EQ(fault, StatusFault::kShort);
  EXPECT_EQ(count, 3);
  EXPECT_FALSE(ParseStatusFault("torn", fault, count));
  EXPECT_FALSE(ParseStatusFault("long:0", fault, count));
}

TEST(StatusReplies, FaultsDamageTheNextReplies) {
  struct Case {
    StatusFault fault;
    size_t length;
    bool checkGood;
    uint8_t code;
  };
  const Case cases[] = {
      {StatusFault::kShort, 32, false, 0x33},
      {StatusFault::kLong, 34, true, 0x33},
      {StatusFault::kBadCheck, 33, false, 0x33},
      {StatusFault::kWrongCode, 33, true, 0x34},
  };
  for (const Case& c : cases) {
    SimulatedActuator actuator;
    actuator.InjectStatusFault(c.fault, 1);
    Send(actuator, kStatusRequest, 0);
    const Bytes damaged = Received(actuator, 100);
    Send(actuator, kStatusRequest, 100);
    const Bytes next = Received(actuator, 200);
    ASSERT_EQ(damaged.size(), c.length) << static_cast<int>(c.fault);
    EXPECT_EQ(damaged[1], c.code);
    EXPECT_EQ(c.length >= 33 && Crc16(damaged.data(), 31) == ReadLe16(&damaged[31]), c.checkGood);
    EXPECT_EQ(next.size(), 33u);  // only the next reply was damaged
    EXPECT_EQ(next[1], 0x33);
  }
}

TEST(StatusReplies, PositionTravelsTowardTheDemand) {
  struct Case {
    int firmware;
    uint32_t demand;
    int32_t start;
    std::vector<int32_t> positions;  // at the requests 0, 1, 2 and 10 s apart
  };
  const Case cases[] = {
      // Before 3.00 the demand is in position counts.
      {0x205, 250000, 0, {0, 100000, 200000, 250000}},
      {0x205, static_cast<uint32_t>(-150000), 0, {0, -100000, -150000, -150000}},
      // From 3.00 its high word is the demand input, 13107 counts for 0 %, 65535 for 100 %.
      {0x30A, 39321u << 16, 2000000, {2000000, 1900000, 1800000, 983039}},
      {0x30A, 100u << 16, 50000, {50000, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    ActuatorState state;
    state.firmwareMajor = static_cast<uint8_t>(c.firmware >> 8);
    state.firmwareMinor = static_cast<uint8_t>(c.firmware & 0xFF);
    state.span = 1966079;
    state.status.positionDemand = c.demand;
    state.status.position = static_cast<uint32_t>(c.start);
    state.status.travelCountsPerSecond = 100000;
    SimulatedActuator actuator(state);
    std::vector<int32_t> positions;
    for (int64_t at : {0, 1000, 2000, 12000}) {
      Send(actuator, kStatusRequest, at);
      const Bytes frame = Received(actuator, at + 100);
      positions.push_back(
          static_cast<int32_t>((ReadLe16(&frame[17]) << 16) | ReadLe16(&frame[19])));
    }
    EXPECT_EQ(positions, c.positions) << c.firmware << " " << c.demand;
  }
}

}  // namespace
}  // namespace velmar::test
