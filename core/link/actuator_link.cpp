#include "link/actuator_link.h"

#include <cstring>

#include "base/little_endian.h"
#include "link/frame_format.h"
#include "link/request_frames.h"

namespace velmar {

namespace {

constexpr int kStepMs = 2;
constexpr int kMinFrameLength = kFrameFormats[kSumMode].Length(0);
constexpr int kMinCrcFrameLength = kFrameFormats[kCrcMode].Length(0);
constexpr int kMaxCrcFrameLength = 33;
// The version reply carries major and minor; the words reply 6 words.
constexpr int kVersionDataBytes = 2;
constexpr int kWordsDataBytes = 2 * ActuatorLink::kWordsPerPage;
constexpr int kVersionLimitMs = 200;
constexpr uint8_t kSoh = 0x01;
constexpr uint8_t kVersionCode = 0x10;
constexpr uint8_t kWordsCode = 0x0D;
// The reply codes that go through ReceiveFrame.
constexpr uint8_t kLowestReceivedCode = 6;
constexpr uint8_t kHighestReceivedCode = 32;

bool StartsWith(const uint8_t* data, int count, const uint8_t* frame, int length) {
  return count >= length && std::memcmp(data, frame, length) == 0;
}

}  // namespace

ActuatorLink::ActuatorLink(SerialPort& serialPort, Clock& clock)
    : serialPort_(serialPort), clock_(clock) {}

LinkResult ActuatorLink::OpenPort(int port, int baud) {
  linkPort_ = port;
  linkBaud_ = static_cast<uint16_t>(baud);
  return serialPort_.Open(port, baud) == 1 ? LinkResult::kSuccess : LinkResult::kRetriesFailed;
}

int ActuatorLink::ClosePort() {
  return serialPort_.Close();
}

const FrameFormat& ActuatorLink::Format() const {
  return kFrameFormats[crcMode_];
}

const FrameFormat& ActuatorLink::FormatFor(FrameForm form) const {
  return form == FrameForm::kCrc ? kFrameFormats[kCrcMode] : Format();
}

int ActuatorLink::EmptyFrameLength() const {
  return Format().Length(0);
}

void ActuatorLink::SendWords(uint8_t code, uint16_t address, std::span<const uint16_t> words,
                             const FrameFormat& format) {
  const int dataCount = 2 + 2 * static_cast<int>(words.size());
  const int length = format.Length(dataCount);
  if (length > kBufferSize) {
    return;
  }
  txBuffer_[0] = kSoh;
  txBuffer_[1] = code;
  txBuffer_[2] = static_cast<uint8_t>(length);
  WriteLe16(txBuffer_ + kFrameHeaderLength, address);
  for (size_t i = 0; i < words.size(); ++i) {
    WriteLe16(txBuffer_ + kFrameHeaderLength + 2 + 2 * i, words[i]);
  }
  format.AppendCheck(txBuffer_, kFrameHeaderLength + dataCount);
  SendConstant(txBuffer_, length);
}

void ActuatorLink::SendConstant(const uint8_t* frame, int length) {
  std::memset(rxBuffer_, 0, sizeof rxBuffer_);
  const int written = serialPort_.Write(frame, length);
  if (trace_ != nullptr && written > 0) {
    trace_->Record(clock_.NowMs(), TraceDirection::kSent, frame, written);
  }
}

void ActuatorLink::SendModeConstant(const uint8_t* const FrameFormat::*frame) {
  SendConstant(Format().*frame, EmptyFrameLength());
}

void ActuatorLink::SendWriteEnable() {
  writesMayBeEnabled_ = true;
  SendModeConstant(&FrameFormat::writeEnable);
}
void ActuatorLink::SendWriteDisable() {
  SendModeConstant(&FrameFormat::writeDisable);
}
void ActuatorLink::SendCommitSetup() {
  SendModeConstant(&FrameFormat::commitSetup);
}
void ActuatorLink::SendPrepareUpload() {
  SendModeConstant(&FrameFormat::prepareUpload);
}
void ActuatorLink::SendFirmwareVersionRequest() {
  SendModeConstant(&FrameFormat::firmwareVersion);
}
void ActuatorLink::SendClearFaults() {
  SendModeConstant(&FrameFormat::clearFaults);
}
void ActuatorLink::SendFirmwareVersionRequestCrc() {
  SendConstant(kFrameFormats[kCrcMode].firmwareVersion, kMinCrcFrameLength);
}
void ActuatorLink::SendSpanRequest() {
  SendConstant(frames::kSpanCrc, kMinCrcFrameLength);
}
void ActuatorLink::SendStatusRequest() {
  SendConstant(frames::kStatusCrc, kMinCrcFrameLength);
}
void ActuatorLink::SendMaxForceRequest() {
  SendConstant(frames::kMaxForceCrc, kMinCrcFrameLength);
}
void ActuatorLink::SendRunHoursRequest() {
  SendConstant(frames::kRunHoursCrc, kMinCrcFrameLength);
}
void ActuatorLink::SendResetRunHours() {
  SendConstant(frames::kResetRunHoursCrc, kMinCrcFrameLength);
}
void ActuatorLink::SendPoweredHoursRequest() {
  SendConstant(frames::kPoweredHoursCrc, kMinCrcFrameLength);
}

// A reply is complete once its byte count has reached the threshold and stayed the same over
// two consecutive 2 ms steps. Polling below the threshold also steps by 2 ms, so the wait never
// spins.
ActuatorLink::Wait ActuatorLink::WaitForStableCount(int threshold, int limitMs) {
  const int64_t start = clock_.NowMs();
  int count = 0;
  while (clock_.NowMs() - start < limitMs) {
    if (StopRequested() && !writesMayBeEnabled_) {
      return {0, false};
    }
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

// Reads the waiting bytes into the receive buffer; only bytes that were both counted and read
// count.
int ActuatorLink::ReadReceived(int count) {
  if (count <= 0) {
    return 0;
  }
  const int got = serialPort_.Read(rxBuffer_);
  if (trace_ != nullptr && got > 0) {
    trace_->Record(clock_.NowMs(), TraceDirection::kReceived, rxBuffer_, got);
  }
  return got < count ? got : count;
}

bool ActuatorLink::IsFrameStart(int index, int count) const {
  return index + 1 < count && rxBuffer_[index] == kSoh &&
         rxBuffer_[index + 1] >= kLowestReceivedCode &&
         rxBuffer_[index + 1] <= kHighestReceivedCode;
}

int ActuatorLink::ReceiveFrame(int timeoutMs, int minReplyLength) {
  const Wait wait = WaitForStableCount(minReplyLength, timeoutMs);
  lastReceivedCount_ = wait.count;
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
  std::memmove(rxBuffer_, rxBuffer_ + 1, count - 1);
  rxBuffer_[count - 1] = 0;
  return count - 1;
}

LinkResult ActuatorLink::ReceiveAck(int timeoutMs, int minReplyLength) {
  const int count = ReceiveFrame(timeoutMs, minReplyLength);
  const FrameFormat& format = Format();
  if (StartsWith(rxBuffer_, count, format.ack, format.Length(0))) {
    return LinkResult::kSuccess;
  }
  if (StartsWith(rxBuffer_, count, format.nak, format.Length(0))) {
    return LinkResult::kFailed;
  }
  return LinkResult::kNoReply;
}

LinkResult ActuatorLink::ReceiveWriteDone(int timeoutMs) {
  const FrameFormat& format = Format();
  const int length = format.Length(0);
  const int count = ReceiveFrame(timeoutMs, length);
  if (count < length) {
    return LinkResult::kNoReply;
  }
  return StartsWith(rxBuffer_, count, format.writeDone, length) ? LinkResult::kSuccess
                                                                : LinkResult::kFailed;
}

LinkResult ActuatorLink::ReceiveWords(int timeoutMs) {
  const FrameFormat& format = Format();
  const int length = format.Length(kWordsDataBytes);
  const int count = ReceiveFrame(timeoutMs, length);
  if (count < length) {
    return LinkResult::kNoReply;
  }
  const bool valid = rxBuffer_[0] == kSoh && rxBuffer_[1] == kWordsCode && rxBuffer_[2] == length &&
                     format.CheckMatches(rxBuffer_, length);
  return valid ? LinkResult::kSuccess : LinkResult::kFailed;
}

// The reply's form decides the mode: each form has its own LEN, and the count must match it.
LinkResult ActuatorLink::ReceiveFirmwareVersion() {
  const int shortest = kFrameFormats[kSumMode].Length(kVersionDataBytes);
  const Wait wait = WaitForStableCount(shortest, kVersionLimitMs);
  if (!wait.stable) {
    return LinkResult::kFailed;
  }
  const int count = ReadReceived(wait.count);
  if (count < shortest || rxBuffer_[0] != kSoh || rxBuffer_[1] != kVersionCode) {
    return LinkResult::kFailed;
  }
  for (const int mode : {kCrcMode, kSumMode}) {
    const FrameFormat& format = kFrameFormats[mode];
    const int length = format.Length(kVersionDataBytes);
    if (rxBuffer_[2] == length && count == length && format.CheckMatches(rxBuffer_, length)) {
      crcMode_ = mode;
      return LinkResult::kSuccess;
    }
  }
  return LinkResult::kFailed;
}

LinkResult ActuatorLink::CheckFrameCrc(const uint8_t* frame) const {
  const int length = frame[2];
  if (length < kMinCrcFrameLength || length > kMaxCrcFrameLength) {
    return LinkResult::kFailed;
  }
  return kFrameFormats[kCrcMode].CheckMatches(frame, length) ? LinkResult::kSuccess
                                                             : LinkResult::kFailed;
}

int ActuatorLink::ReplyFirmwareVersion() const {
  return rxBuffer_[3] * 256 + rxBuffer_[4];
}

bool ActuatorLink::IsValidCrcReply(int count, uint8_t code) const {
  return count >= kMinCrcFrameLength && rxBuffer_[0] == kSoh && rxBuffer_[1] == code &&
         rxBuffer_[2] <= count && CheckFrameCrc(rxBuffer_) == LinkResult::kSuccess;
}

}  // namespace velmar
