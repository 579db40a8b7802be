#include "link/actuator_link.h"

#include <cstring>

#include "base/frame_check.h"
#include "base/little_endian.h"
#include "link/request_frames.h"

namespace velmar {

namespace {

constexpr int kStepMs = 2;
constexpr int kMinFrameLength = 4;
constexpr int kMinCrcFrameLength = 5;
constexpr int kMaxCrcFrameLength = 33;
constexpr int kVersionReplyLength = 6;
constexpr int kVersionLimitMs = 200;
constexpr uint8_t kSoh = 0x01;
constexpr uint8_t kVersionCode = 0x10;
constexpr uint8_t kWordsCode = 0x0D;
constexpr int kWordsSumLength = 16;
constexpr int kWordsCrcLength = 17;
// The reply codes that go through ReceiveFrame.
constexpr uint8_t kLowestReceivedCode = 6;
constexpr uint8_t kHighestReceivedCode = 32;

bool StartsWith(const uint8_t* data, int count, const uint8_t* frame, int length) {
  return count >= length && std::memcmp(data, frame, length) == 0;
}

}  // namespace

ActuatorLink::ActuatorLink(SerialPort& serialPort, Clock& clock)
    : serialPort_(serialPort), clock_(clock) {}

int ActuatorLink::OpenPort(int port, int baud) {
  linkPort = port;
  linkBaud = static_cast<uint16_t>(baud);
  return serialPort_.Open(port, baud) == 1 ? 0 : 2;
}

int ActuatorLink::ClosePort() {
  return serialPort_.Close();
}

void ActuatorLink::SendFrame(int dataCount) {
  SendFramed(dataCount, crcMode != 0);
}

void ActuatorLink::SendFramed(int dataCount, bool crc) {
  const int body = dataCount + 3;
  if (dataCount < 0 || body + 2 > kBufferSize) {
    return;
  }
  std::memset(rxBuffer, 0, sizeof rxBuffer);
  if (crc) {
    crcAccumulator = Crc16(txBuffer, body);
    WriteLe16(txBuffer + body, crcAccumulator);
    serialPort_.Write(txBuffer, body + 2);
  } else {
    sumAccumulator = Sum8(txBuffer, body);
    txBuffer[body] = sumAccumulator;
    serialPort_.Write(txBuffer, body + 1);
  }
}

void ActuatorLink::SendConstant(const uint8_t* frame, int length) {
  std::memset(rxBuffer, 0, sizeof rxBuffer);
  serialPort_.Write(frame, length);
}

void ActuatorLink::SendModeConstant(const uint8_t* sumFrame, const uint8_t* crcFrame) {
  if (crcMode != 0) {
    SendConstant(crcFrame, frames::kCrcLength);
  } else {
    SendConstant(sumFrame, frames::kSumLength);
  }
}

void ActuatorLink::SendWriteEnable() {
  SendModeConstant(frames::kWriteEnableSum, frames::kWriteEnableCrc);
}
void ActuatorLink::SendWriteDisable() {
  SendModeConstant(frames::kWriteDisableSum, frames::kWriteDisableCrc);
}
void ActuatorLink::SendCommitSetup() {
  SendModeConstant(frames::kCommitSetupSum, frames::kCommitSetupCrc);
}
void ActuatorLink::SendPrepareUpload() {
  SendModeConstant(frames::kPrepareUploadSum, frames::kPrepareUploadCrc);
}
void ActuatorLink::SendFirmwareVersionRequest() {
  SendModeConstant(frames::kFirmwareVersionSum, frames::kFirmwareVersionCrc);
}
void ActuatorLink::SendClearFaults() {
  SendModeConstant(frames::kClearFaultsSum, frames::kClearFaultsCrc);
}
void ActuatorLink::SendFirmwareVersionRequestCrc() {
  SendConstant(frames::kFirmwareVersionCrc, frames::kCrcLength);
}
void ActuatorLink::SendSpanRequest() {
  SendConstant(frames::kSpanCrc, frames::kCrcLength);
}
void ActuatorLink::SendStatusRequest() {
  SendConstant(frames::kStatusCrc, frames::kCrcLength);
}
void ActuatorLink::SendMaxForceRequest() {
  SendConstant(frames::kMaxForceCrc, frames::kCrcLength);
}
void ActuatorLink::SendRunHoursRequest() {
  SendConstant(frames::kRunHoursCrc, frames::kCrcLength);
}
void ActuatorLink::SendResetRunHours() {
  SendConstant(frames::kResetRunHoursCrc, frames::kCrcLength);
}
void ActuatorLink::SendPoweredHoursRequest() {
  SendConstant(frames::kPoweredHoursCrc, frames::kCrcLength);
}

// A reply is complete once its byte count has reached the threshold and stayed the same over
// two consecutive 2 ms steps. Polling below the threshold also steps by 2 ms, so the wait never
// spins.
ActuatorLink::Wait ActuatorLink::WaitForStableCount(int threshold, int limitMs) {
  const int64_t start = clock_.NowMs();
  int count = 0;
  while (clock_.NowMs() - start < limitMs) {
    count = serialPort_.ReceiveCount();
    if (count < threshold) {
      clock_.SleepMs(kStepMs);
      continue;
    }
    clock_.SleepMs(kStepMs);
    int again = serialPort_.ReceiveCount();
    if (again != count) {
      count = again;
      continue;
    }
    clock_.SleepMs(kStepMs);
    again = serialPort_.ReceiveCount();
    if (again == count) {
      return {count, true};
    }
    count = again;
  }
  return {count, false};
}

// Reads the waiting bytes into rxBuffer; only bytes that were both counted and read count.
int ActuatorLink::ReadReceived(int count) {
  if (count <= 0) {
    return 0;
  }
  const int got = serialPort_.Read(rxBuffer);
  return got < count ? got : count;
}

bool ActuatorLink::IsFrameStart(int index, int count) const {
  return index + 1 < count && rxBuffer[index] == kSoh &&
         rxBuffer[index + 1] >= kLowestReceivedCode && rxBuffer[index + 1] <= kHighestReceivedCode;
}

int ActuatorLink::ReceiveFrame() {
  const Wait wait = WaitForStableCount(minReplyLength, receiveTimeoutMs);
  receiveTimeoutMs = kDefaultReceiveTimeoutMs;
  minReplyLength = kDefaultMinReplyLength;
  if (wait.count < kMinFrameLength) {
    return 0;
  }
  const int count = ReadReceived(wait.count);
  if (IsFrameStart(0, count)) {
    return count;
  }
  if (!IsFrameStart(1, count)) {
    return 0;
  }
  std::memmove(rxBuffer, rxBuffer + 1, count - 1);
  rxBuffer[count - 1] = 0;
  return count - 1;
}

int ActuatorLink::ReceiveAck() {
  const int count = ReceiveFrame();
  const bool crc = crcMode != 0;
  const int length = crc ? frames::kCrcLength : frames::kSumLength;
  if (StartsWith(rxBuffer, count, crc ? frames::kAckCrc : frames::kAckSum, length)) {
    return 0;
  }
  if (StartsWith(rxBuffer, count, crc ? frames::kNakCrc : frames::kNakSum, length)) {
    return 1;
  }
  return kNoReply;
}

int ActuatorLink::ReceiveWriteDone() {
  const bool crc = crcMode != 0;
  const int length = crc ? frames::kCrcLength : frames::kSumLength;
  minReplyLength = length;
  const int count = ReceiveFrame();
  if (count < length) {
    return kNoReply;
  }
  return StartsWith(rxBuffer, count, crc ? frames::kWriteDoneCrc : frames::kWriteDoneSum, length)
             ? 0
             : 1;
}

int ActuatorLink::ReceiveWords() {
  const bool crc = crcMode != 0;
  const int length = crc ? kWordsCrcLength : kWordsSumLength;
  minReplyLength = length;
  const int count = ReceiveFrame();
  if (count < length) {
    return kNoReply;
  }
  if (rxBuffer[0] != kSoh || rxBuffer[1] != kWordsCode || rxBuffer[2] != length) {
    return 1;
  }
  if (crc) {
    return CheckFrameCrc(rxBuffer);
  }
  return Sum8(rxBuffer, kWordsSumLength - 1) == rxBuffer[kWordsSumLength - 1] ? 0 : 1;
}

int ActuatorLink::ReceiveFirmwareVersion() {
  const Wait wait = WaitForStableCount(kVersionReplyLength, kVersionLimitMs);
  if (!wait.stable) {
    return 1;
  }
  const int count = ReadReceived(wait.count);
  if (count < kVersionReplyLength || rxBuffer[0] != kSoh || rxBuffer[1] != kVersionCode) {
    return 1;
  }
  if (rxBuffer[2] == kVersionReplyLength + 1 && count == kVersionReplyLength + 1 &&
      CheckFrameCrc(rxBuffer) == 0) {
    crcMode = 1;
    return 0;
  }
  if (rxBuffer[2] == kVersionReplyLength && count == kVersionReplyLength &&
      Sum8(rxBuffer, kVersionReplyLength - 1) == rxBuffer[kVersionReplyLength - 1]) {
    crcMode = 0;
    return 0;
  }
  return 1;
}

int ActuatorLink::CheckFrameCrc(const uint8_t* frame) const {
  const int length = frame[2];
  if (length < kMinCrcFrameLength || length > kMaxCrcFrameLength) {
    return 1;
  }
  return Crc16(frame, length - 2) == ReadLe16(frame + length - 2) ? 0 : 1;
}

int ActuatorLink::ReplyFirmwareVersion() const {
  return rxBuffer[3] * 256 + rxBuffer[4];
}

bool ActuatorLink::IsValidCrcReply(int count, uint8_t code) const {
  return count >= kMinCrcFrameLength && rxBuffer[0] == kSoh && rxBuffer[1] == code &&
         rxBuffer[2] <= count && CheckFrameCrc(rxBuffer) == 0;
}

}  // namespace velmar
