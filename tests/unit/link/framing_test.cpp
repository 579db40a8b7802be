#include <cstring>
#include <string>
#include <vector>

#include "link/frame_check.h"
#include "link/request_frames.h"
#include "link_fixture.h"

namespace velmar::test {
namespace {

TEST(FrameCheckTest, CheckValues) {
  const std::string digits = "123456789";
  EXPECT_EQ(Crc16(reinterpret_cast<const uint8_t*>(digits.data()), digits.size()), 0xBB3D);
  const uint8_t versionRequest[] = {0x01, 0x10, 0x05};
  EXPECT_EQ(Crc16(versionRequest, 3), 0x039C);
  const uint8_t wraps[] = {0xFF, 0x02};
  EXPECT_EQ(Sum8(wraps, 2), 0x01);
}

using FramingTest = LinkTest;
using Calls = std::vector<std::string>;

// Every constant request frame: its check agrees with Sum8 / Crc16, and the request sends it in
// the current mode (CRC-only requests whatever the mode).
TEST_F(FramingTest, RequestsSendTheirCheckedConstants) {
  namespace f = frames;
  struct Case {
    const char* name;
    void (L::*send)();
    const uint8_t* sum;  // null: CRC form only
    const uint8_t* crc;
  };
  const Case cases[] = {
      {"WriteEnable", &L::SendWriteEnable, f::kWriteEnableSum, f::kWriteEnableCrc},
      {"WriteDisable", &L::SendWriteDisable, f::kWriteDisableSum, f::kWriteDisableCrc},
      {"CommitSetup", &L::SendCommitSetup, f::kCommitSetupSum, f::kCommitSetupCrc},
      {"PrepareUpload", &L::SendPrepareUpload, f::kPrepareUploadSum, f::kPrepareUploadCrc},
      {"Version", &L::SendFirmwareVersionRequest, f::kFirmwareVersionSum, f::kFirmwareVersionCrc},
      {"VersionCrc", &L::SendFirmwareVersionRequestCrc, nullptr, f::kFirmwareVersionCrc},
      {"ClearFaults", &L::SendClearFaults, f::kClearFaultsSum, f::kClearFaultsCrc},
      {"Span", &L::SendSpanRequest, nullptr, f::kSpanCrc},
      {"Status", &L::SendStatusRequest, nullptr, f::kStatusCrc},
      {"MaxForce", &L::SendMaxForceRequest, nullptr, f::kMaxForceCrc},
      {"RunHours", &L::SendRunHoursRequest, nullptr, f::kRunHoursCrc},
      {"ResetRunHours", &L::SendResetRunHours, nullptr, f::kResetRunHoursCrc},
      {"PoweredHours", &L::SendPoweredHoursRequest, nullptr, f::kPoweredHoursCrc},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes crc(c.crc, c.crc + f::kCrcLength);
    EXPECT_EQ(crc, CrcFrame(c.crc[1]));
    if (c.sum != nullptr) {
      EXPECT_EQ(Bytes(c.sum, c.sum + f::kSumLength), SumFrame(c.crc[1]));
    }
    for (int mode : {0, 1}) {
      link.crcMode = mode;
      link.rxBuffer[7] = 0x55;
      (link.*c.send)();
      EXPECT_EQ(driver.writes.back(), mode == 0 && c.sum ? SumFrame(c.crc[1]) : crc);
      EXPECT_EQ(link.rxBuffer[7], 0) << "receive buffer zeroed before sending";
    }
  }
}

TEST_F(FramingTest, SendsDropBothQueuesFirstAndKeepWithinTheBuffer) {
  link.SendWriteEnable();
  EXPECT_EQ(driver.calls, (Calls{"DropReceived 0", "DropUnsent 0", "Write 0 4"}));
  link.crcMode = 1;
  link.SendFrame(ActuatorLink::kBufferSize - 5);  // the whole buffer
  link.SendFrame(ActuatorLink::kBufferSize - 4);
  link.SendFrame(-1);
  ASSERT_EQ(driver.writes.size(), 2u);
  EXPECT_EQ(driver.writes.back().size(), size_t{ActuatorLink::kBufferSize});
}

TEST_F(FramingTest, CheckFrameCrcBoundsTheLength) {
  uint8_t frame[ActuatorLink::kBufferSize] = {};
  const Bytes status = CrcFrame(0x33, Bytes(28, 0x5A));
  std::memcpy(frame, status.data(), status.size());
  EXPECT_EQ(link.CheckFrameCrc(frame), 0);
  frame[20] ^= 0x01;
  EXPECT_EQ(link.CheckFrameCrc(frame), 1);
  std::memcpy(frame, kAckCrc.data(), kAckCrc.size());
  EXPECT_EQ(link.CheckFrameCrc(frame), 0);
  // LEN 4 and 34 fail although their check bytes match (at LEN 4 the CRC overlaps LEN).
  for (const Bytes& bad : {Bytes{0x0C, 0x04, 0x04, 0xC3}, CrcFrame(0x06, Bytes(29, 0))}) {
    std::memcpy(frame, bad.data(), bad.size());
    EXPECT_EQ(Crc16(frame, frame[2] - 2), frame[frame[2] - 2] | frame[frame[2] - 1] << 8);
    EXPECT_EQ(link.CheckFrameCrc(frame), 1) << int{frame[2]};
  }
}

TEST(SerialPortTest, OpenChecksArgumentsAndDriverResults) {
  struct Case {
    const char* name;
    int port, baud, openResult, baudResult, expected;
    Calls calls;
  };
  const Calls com2 = {"Open 1 2048 512", "SetBaud 1 19200", "SetOutputA 1 S", "SetOutputB 1 S"};
  const Calls com1 = {"Open 0 2048 512", "SetBaud 0 9600", "SetOutputA 0 S", "SetOutputB 0 S"};
  const Calls badBaud = {"Open 2 2048 512", "SetBaud 2 12345", "Close 2"};
  const std::vector<Case> cases = {
      {"COM2", 2, 19200, 0, 0, 1, com2},
      {"port 0", 0, 19200, 0, 0, 0, {}},
      {"negative baud", 1, -1, 0, 0, 0, {}},
      {"busy", 1, 19200, -4, 0, 0, {"Open 0 2048 512"}},
      {"open -3 is not a failure", 1, 9600, -3, 0, 1, com1},
      {"unknown baud closes again", 3, 12345, 0, -12, 0, badBaud},
  };
  for (const Case& c : cases) {
    VirtualClock clock;
    ScriptedSerialDriver driver(clock);
    driver.openResult = c.openResult;
    driver.baudResult = c.baudResult;
    SerialPort port(driver);
    EXPECT_EQ(port.Open(c.port, c.baud), c.expected) << c.name;
    EXPECT_EQ(port.portNumber, c.expected == 1 ? c.port : 0) << c.name;
    EXPECT_EQ(driver.calls, c.calls) << c.name;
  }
}

TEST_F(FramingTest, PortReadsAtMostEightyBytesAndDoesNothingWhenClosed) {
  const uint8_t frame[] = {0x01, 0x10, 0x04, 0x15};
  driver.Arrive(Bytes(100, 0x55));
  EXPECT_EQ(port.ReceiveCount(), 100);
  EXPECT_EQ(port.Read(link.rxBuffer), 80);
  EXPECT_EQ(link.rxBuffer[80], 0);
  driver.writeResult = -3;
  EXPECT_EQ(port.Write(frame, 4), 0);
  EXPECT_EQ(link.ClosePort(), 1);
  EXPECT_EQ(driver.calls.back(), "Close 0");
  driver.calls.clear();
  EXPECT_EQ((std::vector<int>{port.Write(frame, 4), port.Read(link.rxBuffer), port.ReceiveCount(),
                              link.ClosePort()}),
            std::vector<int>(4, 0));
  EXPECT_TRUE(driver.calls.empty());
}

}  // namespace
}  // namespace velmar::test
