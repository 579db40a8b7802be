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
  const auto* data = reinterpret_cast<const uint8_t*>(digits.data());
  EXPECT_EQ(Crc16(data, digits.size()), 0xBB3D);
  const uint8_t versionRequest[] = {0x01, 0x10, 0x05};
  EXPECT_EQ(Crc16(versionRequest, 3), 0x039C);
  EXPECT_EQ(Sum8(versionRequest, 2), 0x11);
  const uint8_t wraps[] = {0xFF, 0x02};
  EXPECT_EQ(Sum8(wraps, 2), 0x01);
}

// Every constant frame: its check agrees with Sum8 / Crc16, and each request sends it in the
// right mode (CRC-only requests whatever the mode).
struct ConstantCase {
  const char* name;
  void (ActuatorLink::*send)();
  const uint8_t* sum;  // null: the request exists in CRC form only
  const uint8_t* crc;
};

const ConstantCase kConstants[] = {
    {"WriteEnable", &ActuatorLink::SendWriteEnable, frames::kWriteEnableSum,
     frames::kWriteEnableCrc},
    {"WriteDisable", &ActuatorLink::SendWriteDisable, frames::kWriteDisableSum,
     frames::kWriteDisableCrc},
    {"CommitSetup", &ActuatorLink::SendCommitSetup, frames::kCommitSetupSum,
     frames::kCommitSetupCrc},
    {"PrepareUpload", &ActuatorLink::SendPrepareUpload, frames::kPrepareUploadSum,
     frames::kPrepareUploadCrc},
    {"FirmwareVersion", &ActuatorLink::SendFirmwareVersionRequest, frames::kFirmwareVersionSum,
     frames::kFirmwareVersionCrc},
    {"FirmwareVersionCrc", &ActuatorLink::SendFirmwareVersionRequestCrc, nullptr,
     frames::kFirmwareVersionCrc},
    {"ClearFaults", &ActuatorLink::SendClearFaults, frames::kClearFaultsSum,
     frames::kClearFaultsCrc},
    {"Span", &ActuatorLink::SendSpanRequest, nullptr, frames::kSpanCrc},
    {"Status", &ActuatorLink::SendStatusRequest, nullptr, frames::kStatusCrc},
    {"MaxForce", &ActuatorLink::SendMaxForceRequest, nullptr, frames::kMaxForceCrc},
    {"RunHours", &ActuatorLink::SendRunHoursRequest, nullptr, frames::kRunHoursCrc},
    {"ResetRunHours", &ActuatorLink::SendResetRunHours, nullptr, frames::kResetRunHoursCrc},
    {"PoweredHours", &ActuatorLink::SendPoweredHoursRequest, nullptr, frames::kPoweredHoursCrc},
};

void ExpectSumChecked(const uint8_t* frame, const char* name) {
  EXPECT_EQ(frame[2], frames::kSumLength) << name;
  EXPECT_EQ(frame[3], Sum8(frame, 3)) << name;
}

void ExpectCrcChecked(const uint8_t* frame, const char* name) {
  EXPECT_EQ(frame[2], frames::kCrcLength) << name;
  const uint16_t crc = Crc16(frame, 3);
  EXPECT_EQ(frame[3], crc & 0xFF) << name;
  EXPECT_EQ(frame[4], crc >> 8) << name;
}

using ConstantFrameTest = LinkTest;

TEST_F(ConstantFrameTest, RequestsSendTheirCheckedConstants) {
  for (const ConstantCase& c : kConstants) {
    const Bytes crcFrame(c.crc, c.crc + frames::kCrcLength);
    ExpectCrcChecked(c.crc, c.name);
    for (int mode : {0, 1}) {
      link.crcMode = mode;
      link.rxBuffer[7] = 0x55;
      (link.*c.send)();
      const Bytes expected =
          mode == 0 && c.sum != nullptr ? Bytes(c.sum, c.sum + frames::kSumLength) : crcFrame;
      EXPECT_EQ(driver.writes.back(), expected) << c.name << " mode " << mode;
      EXPECT_EQ(link.rxBuffer[7], 0) << c.name << ": receive buffer zeroed before sending";
    }
    if (c.sum != nullptr) {
      ExpectSumChecked(c.sum, c.name);
      EXPECT_EQ(c.sum[1], c.crc[1]) << c.name;
    }
  }
  struct Reply {
    const char* name;
    const uint8_t* sum;
    const uint8_t* crc;
  };
  const Reply replies[] = {{"Ack", frames::kAckSum, frames::kAckCrc},
                           {"Nak", frames::kNakSum, frames::kNakCrc},
                           {"WriteDone", frames::kWriteDoneSum, frames::kWriteDoneCrc}};
  for (const Reply& r : replies) {
    ExpectSumChecked(r.sum, r.name);
    ExpectCrcChecked(r.crc, r.name);
  }
}

using SendFrameTest = LinkTest;

TEST_F(SendFrameTest, AppendsTheCheckOfTheCurrentMode) {
  const uint8_t request[] = {0x01, 0x0C, 0x08, 0x0A, 0x00, 0x06, 0x00};
  std::memcpy(link.txBuffer, request, sizeof request);
  link.SendFrame(4);
  ASSERT_EQ(driver.writes.back().size(), 8u);
  EXPECT_EQ(driver.writes.back()[7], Sum8(request, 7));
  EXPECT_EQ(link.sumAccumulator, Sum8(request, 7));

  link.crcMode = 1;
  link.txBuffer[2] = 0x09;
  link.SendFrame(4);
  EXPECT_EQ(driver.writes.back(), CrcFrame(0x0C, {0x0A, 0x00, 0x06, 0x00}));
  EXPECT_EQ(driver.writes.back().size(), 9u);

  // Each send drops what was waiting from both queues first.
  EXPECT_EQ(driver.calls,
            (std::vector<std::string>{"DropReceived 0", "DropUnsent 0", "Write 0 8",
                                      "DropReceived 0", "DropUnsent 0", "Write 0 9"}));
}

TEST_F(SendFrameTest, RefusesADataCountBeyondTheBuffer) {
  link.SendFrame(ActuatorLink::kBufferSize);
  link.SendFrame(-1);
  EXPECT_TRUE(driver.writes.empty());
}

TEST(CheckFrameCrcTest, LengthBoundsAndCheck) {
  VirtualClock clock;
  ScriptedSerialDriver driver(clock);
  SerialPort port(driver);
  ActuatorLink link(port, clock);
  uint8_t frame[ActuatorLink::kBufferSize] = {};
  Bytes status = CrcFrame(0x33, Bytes(28, 0x5A));
  std::memcpy(frame, status.data(), status.size());
  EXPECT_EQ(link.CheckFrameCrc(frame), 0);
  frame[20] ^= 0x01;
  EXPECT_EQ(link.CheckFrameCrc(frame), 1);

  // LEN 4 and 34 fail even where the check bytes would match.
  for (uint8_t length : {uint8_t{4}, uint8_t{34}}) {
    std::memset(frame, 0, sizeof frame);
    frame[0] = 0x01;
    frame[1] = 0x06;
    frame[2] = length;
    const uint16_t crc = Crc16(frame, length - 2);
    frame[length - 2] = static_cast<uint8_t>(crc & 0xFF);
    frame[length - 1] = static_cast<uint8_t>(crc >> 8);
    EXPECT_EQ(link.CheckFrameCrc(frame), 1) << int{length};
  }
  const Bytes ack(frames::kAckCrc, frames::kAckCrc + 5);
  std::memcpy(frame, ack.data(), ack.size());
  EXPECT_EQ(link.CheckFrameCrc(frame), 0);
}

}  // namespace
}  // namespace velmar::test
