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
// whatever the mode), after zeroing the receive buffer.
TEST_F(FramingTest, RequestsSendTheirConstantFrames) {
  struct Case {
    void (L::*send)();
    uint8_t code;
    bool crcOnly = false;
  };
  const Case cases[] = {
      {&L::SendWriteEnable, 0x05},
      {&L::SendWriteDisable, 0x08},
      {&L::SendCommitSetup, 0x0A},
      {&L::SendPrepareUpload, 0x0B},
      {&L::SendFirmwareVersionRequest, 0x10},
      {&L::SendClearFaults, 0x11},
      {&L::SendFirmwareVersionRequestCrc, 0x10, true},
      {&L::SendSpanRequest, 0x12, true},
      {&L::SendStatusRequest, 0x13, true},
      {&L::SendMaxForceRequest, 0x14, true},
      {&L::SendRunHoursRequest, 0x15, true},
      {&L::SendResetRunHours, 0x16, true},
      {&L::SendPoweredHoursRequest, 0x17, true},
  };
  for (const Case& c : cases) {
    for (int mode : {0, 1}) {
      link.crcMode = mode;
      link.rxBuffer[7] = 0x55;
      (link.*c.send)();
      EXPECT_EQ(driver.writes.back(), mode || c.crcOnly ? CrcFrame(c.code) : SumFrame(c.code))
          << int{c.code} << " in mode " << mode;
      EXPECT_EQ(link.rxBuffer[7], 0) << "receive buffer zeroed before sending";
    }
  }
}

// Sends drop both queues first and keep within the buffer; the port reads at most 80 bytes and
// does nothing once closed.
TEST_F(FramingTest, SendsAndPortKeepWithinTheirBuffers) {
  link.SendWriteEnable();
  EXPECT_EQ(driver.calls, (Calls{"DropReceived 0", "DropUnsent 0", "Write 0 4"}));
  link.crcMode = 1;
  link.SendFrame(ActuatorLink::kBufferSize - 5);  // the whole buffer
  link.SendFrame(ActuatorLink::kBufferSize - 4);
  link.SendFrame(-1);
  ASSERT_EQ(driver.writes.size(), 2u);
  EXPECT_EQ(driver.writes.back().size(), size_t{ActuatorLink::kBufferSize});

  driver.Arrive(Bytes(100, 0x55));
  EXPECT_EQ(port.ReceiveCount(), 100);
  EXPECT_EQ(port.Read(link.rxBuffer), 80);
  EXPECT_EQ(link.rxBuffer[80], 0);
  driver.writeResult = -3;
  EXPECT_EQ(port.Write(kAckSum.data(), 4), 0);
  EXPECT_EQ(link.ClosePort(), 1);
  EXPECT_EQ(driver.calls.back(), "Close 0");
  driver.calls.clear();
  EXPECT_EQ((std::vector<int>{port.Write(kAckSum.data(), 4), port.Read(link.rxBuffer),
                              port.ReceiveCount(), link.ClosePort()}),
            std::vector<int>(4, 0));
  EXPECT_TRUE(driver.calls.empty());
}

TEST_F(FramingTest, ChecksHaveTheirCheckValuesAndCheckFrameCrcBoundsTheLength) {
  const Bytes digits = Hex("31 32 33 34 35 36 37 38 39"), version = Hex("01 10 05");
  EXPECT_EQ(Crc16(digits.data(), digits.size()), 0xBB3D);
  EXPECT_EQ(Crc16(version.data(), 3), 0x039C);
  EXPECT_EQ(Sum8(Hex("FF 02").data(), 2), 0x01);
  uint8_t frame[ActuatorLink::kBufferSize] = {};
  const auto check = [&](const Bytes& bytes) {
    std::memcpy(frame, bytes.data(), bytes.size());
    return link.CheckFrameCrc(frame);
  };
  Bytes status = CrcFrame(0x33, Bytes(28, 0x5A));
  EXPECT_EQ(check(status), 0);
  status[20] ^= 0x01;
  EXPECT_EQ(check(status), 1);
  EXPECT_EQ(check(kAckCrc), 0);
  // LEN 4 and 34 fail although their check bytes match (at LEN 4 the CRC overlaps LEN).
  for (const Bytes& bad : {Hex("0C 04 04 C3"), CrcFrame(0x06, Bytes(29, 0))}) {
    EXPECT_EQ(check(bad), 1) << int{frame[2]};
    EXPECT_EQ(Crc16(frame, frame[2] - 2), frame[frame[2] - 2] | frame[frame[2] - 1] << 8);
  }
}

TEST(SerialPortTest, OpenChecksArgumentsAndDriverResults) {
  const Calls com2 = {"Open 1 2048 512", "SetBaud 1 19200", "SetOutputA 1 S", "SetOutputB 1 S"};
  const Calls com1 = {"Open 0 2048 512", "SetBaud 0 9600", "SetOutputA 0 S", "SetOutputB 0 S"};
  const Calls badBaud = {"Open 2 2048 512", "SetBaud 2 12345", "Close 2"};
  struct Case {
    int port, baud, openResult, baudResult, expected;
    Calls calls;
  };
  const Case cases[] = {
      {2, 19200, 0, 0, 1, com2},      {0, 19200, 0, 0, 0, {}},
      {1, -1, 0, 0, 0, {}},           {1, 19200, -4, 0, 0, {"Open 0 2048 512"}},
      {1, 9600, -3, 0, 1, com1},       // open -3 is not a failure
      {3, 12345, 0, -12, 0, badBaud},  // an unknown baud closes again
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "COM" << c.port << " " << c.baud << " " << c.openResult);
    VirtualClock clock;
    ScriptedSerialDriver driver(clock);
    driver.openResult = c.openResult;
    driver.baudResult = c.baudResult;
    SerialPort port(driver);
    EXPECT_EQ(port.Open(c.port, c.baud), c.expected);
    EXPECT_EQ(port.portNumber, c.expected == 1 ? c.port : 0);
    EXPECT_EQ(driver.calls, c.calls);
  }
}

}  // namespace
}  // namespace velmar::test
