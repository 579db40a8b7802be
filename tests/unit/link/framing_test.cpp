#include <cstring>
#include <string>
#include <vector>

#include "base/frame_check.h"
#include "link_fixture.h"

namespace velmar::test {
namespace {

using Calls = std::vector<std::string>;
using FramingTest = LinkTest;

// Every request without data sends its constant frame in the current mode (CRC-only requests
// whatever the mode).
TEST_F(FramingTest, RequestsSendTheirConstantFrames) {
  const struct {
    void (L::*send)();
    uint8_t code;
    bool crcOnly;
  } cases[] = {
      {&L::SendWriteEnable, 0x05, false},        {&L::SendWriteDisable, 0x08, false},
      {&L::SendCommitSetup, 0x0A, false},        {&L::SendPrepareUpload, 0x0B, false},
      {&L::SendClearFaults, 0x11, false},        {&L::SendFirmwareVersionRequest, 0x10, false},
      {&L::SendSpanRequest, 0x12, true},         {&L::SendFirmwareVersionRequestCrc, 0x10, true},
      {&L::SendStatusRequest, 0x13, true},       {&L::SendMaxForceRequest, 0x14, true},
      {&L::SendRunHoursRequest, 0x15, true},     {&L::SendResetRunHours, 0x16, true},
      {&L::SendPoweredHoursRequest, 0x17, true},
  };
  for (const auto& c : cases) {
    for (int mode : {0, 1}) {
      link.SetCrcMode(mode);
      (link.*c.send)();
      EXPECT_EQ(driver.writes.back(), mode || c.crcOnly ? CrcFrame(c.code) : SumFrame(c.code))
          << int{c.code} << " in mode " << mode;
      EXPECT_EQ(link.EmptyFrameLength(), 4 + mode);
    }
  }
}

// Sends drop both queues first; the port reads at most 80 bytes and does nothing once closed.
TEST_F(FramingTest, PortKeepsWithinItsBuffer) {
  link.SendWriteEnable();
  EXPECT_EQ(driver.calls, (Calls{"DropReceived 0", "DropUnsent 0", "Write 0 4"}));
  uint8_t buffer[ActuatorLink::kBufferSize] = {};
  driver.Arrive(Bytes(100, 0x55));
  EXPECT_EQ(port.ReceiveCount(), 100);
  EXPECT_EQ(port.Read(buffer), 80);
  EXPECT_EQ(buffer[80], 0);
  EXPECT_EQ(link.ClosePort(), 1);
  EXPECT_EQ(driver.calls.back(), "Close 0");
  driver.calls.clear();
  EXPECT_EQ((std::vector<int>{port.Write(kAckSum.data(), 4), port.Read(buffer), port.ReceiveCount(),
                              link.ClosePort()}),
            std::vector<int>(4, 0));
  EXPECT_TRUE(driver.calls.empty());
}

// LEN 4 and 34 fail although their check bytes match (at LEN 4 the CRC overlaps LEN).
TEST_F(FramingTest, ChecksHaveTheirCheckValuesAndCheckFrameCrcBoundsTheLength) {
  const Bytes digits = Hex("31 32 33 34 35 36 37 38 39");
  EXPECT_EQ(Crc16(digits.data(), digits.size()), 0xBB3D);
  EXPECT_EQ(Sum8(Hex("FF 02").data(), 2), 0x01);
  Bytes damaged = CrcFrame(0x33, Bytes(28, 0x5A));
  damaged[20] ^= 0x01;
  const struct {
    Bytes frame;
    int expected;
  } cases[] = {{CrcFrame(0x33, Bytes(28, 0x5A)), 0},
               {damaged, 1},
               {kAckCrc, 0},
               {Hex("0C 04 04 C3"), 1},
               {CrcFrame(0x06, Bytes(29, 0)), 1}};
  for (const auto& c : cases) {
    uint8_t frame[ActuatorLink::kBufferSize] = {};
    std::memcpy(frame, c.frame.data(), c.frame.size());
    EXPECT_EQ(Code(link.CheckFrameCrc(frame)), c.expected) << int{frame[2]};
  }
}

TEST(SerialPortTest, OpenChecksArgumentsAndDriverResults) {
  const Calls com2 = {"Open 1 2048 512", "SetBaud 1 19200", "SetOutputA 1 S", "SetOutputB 1 S"};
  const Calls com1 = {"Open 0 2048 512", "SetBaud 0 9600", "SetOutputA 0 S", "SetOutputB 0 S"};
  const Calls badBaud = {"Open 2 2048 512", "SetBaud 2 12345", "Close 2"};
  const struct {
    int port, baud, openResult, baudResult, opened;
    Calls calls;
  } cases[] = {
      {2, 19200, 0, 0, 1, com2},      {0, 19200, 0, 0, 0, {}},
      {1, -1, 0, 0, 0, {}},           {1, 19200, -4, 0, 0, {"Open 0 2048 512"}},
      {1, 9600, -3, 0, 1, com1},       // open -3 is not a failure
      {3, 12345, 0, -12, 0, badBaud},  // an unknown baud closes again
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "COM" << c.port << " " << c.baud << " " << c.openResult);
    VirtualClock clock;
    ScriptedSerialDriver driver(clock);
    driver.openResult = c.openResult;
    driver.baudResult = c.baudResult;
    SerialPort port(driver);
    ActuatorLink link(port, clock);
    EXPECT_EQ(Code(link.OpenPort(c.port, c.baud)), c.opened ? 0 : 2);
    EXPECT_EQ((std::vector<int>{port.portNumber, link.LinkPort(), link.LinkBaud()}),
              (std::vector<int>{c.opened ? c.port : 0, c.port, c.baud & 0xFFFF}));
    EXPECT_EQ(driver.calls, c.calls);
  }
}

}  // namespace
}  // namespace velmar::test
