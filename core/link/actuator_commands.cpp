#include <cstdio>
#include <cstring>

#include "base/little_endian.h"
#include "link/actuator_link.h"
#include "link/frame_format.h"

namespace velmar {

namespace {

constexpr uint8_t kReadWordsCode = 0x0C;
constexpr uint8_t kWriteWordsCode = 0x09;
constexpr uint8_t kReadMemoryCode = 0x19;
constexpr uint8_t kMemoryReplyCode = 0x36;
constexpr uint8_t kWriteMemoryCode = 0x1A;
constexpr uint8_t kSpanReplyCode = 0x32;
constexpr uint8_t kStatusReplyCode = 0x33;
constexpr uint8_t kMaxForceReplyCode = 0x34;
constexpr uint8_t kRunHoursReplyCode = 0x35;
constexpr uint8_t kPoweredHoursReplyCode = 0x37;

constexpr int kMaxWriteWords = 14;
constexpr int kRecordWords = 3;
constexpr int kAckTimeoutMs = 500;
constexpr int kWriteDoneTimeoutMs = 1000;

// Attempts of the standard exchanges, and the pauses after their failed attempts.
constexpr int kWriteEnableAttempts = 3;
constexpr int kWriteDisableAttempts = 3;
constexpr int kWriteDisableAfterDownloadAttempts = 8;
constexpr int kWriteDisableFailureSleepMs = 100;
constexpr int kClearFaultsAttempts = 8;
constexpr int kClearFaultsFailureSleepMs = 40;
constexpr int kResetRunHoursAttempts = 3;
constexpr int kResetRunHoursFailureSleepMs = 250;
constexpr int kRecordWriteAttempts = 3;
constexpr int kIdentificationPageAttempts = 5;
constexpr int kMemoryWordAttempts = 3;
constexpr int kWriteMemoryFailureSleepMs = 100;
constexpr int kModeStatusAttempts = 5;
constexpr int kModeStatusSleepMs = 100;

// The readings that wait for their reply themselves: a sleep after the request, then the
// stable-count wait for at least the reply's length within a limit.
constexpr int kReadingSleepMs = 60;
constexpr int kReadingLimitMs = 200;
constexpr int kSpanReplyLength = 11;
constexpr int kMaxForceReplyLength = 7;
constexpr int kHoursAttempts = 5;
constexpr int kHoursSleepMs = 100;
constexpr int kHoursLimitMs = 500;
constexpr int kHours16ReplyLength = 7;
constexpr int kHours32ReplyLength = 9;

// The memory-word reply is awaited by a few fixed polls of the count.
constexpr int kMemoryReplyPolls = 3;
constexpr int kMemoryReplyPollMs = 66;
constexpr int kMemoryReplyLength = 7;

constexpr int kIdentificationWords = 18;
constexpr uint16_t kIdentificationAddress = 4;
constexpr int kModelNumberLength = 12;
constexpr int kPartNumberLength = 16;
constexpr int kModeStatusByte = 21;
constexpr int kReplyDataIndex = 3;

// Text packed two characters per word, low byte first, ending at the first NUL.
void UnpackText(const uint16_t* words, int length, char* text) {
  int i = 0;
  for (; i < length; ++i) {
    const uint16_t word = words[i / 2];
    text[i] = static_cast<char>(i % 2 == 0 ? word & 0xFF : word >> 8);
    if (text[i] == '\0') {
      return;
    }
  }
  text[i] = '\0';
}

LinkResult SuccessOr(bool success, LinkResult failure) {
  return success ? LinkResult::kSuccess : failure;
}

}  // namespace

LinkResult ActuatorLink::ReadWords(uint16_t wordAddress, FrameForm form, int timeoutMs) {
  const uint16_t count[] = {kWordsPerPage};
  SendWords(kReadWordsCode, wordAddress, count, FormatFor(form));
  const LinkResult result = ReceiveWords(timeoutMs);
  if (result == LinkResult::kSuccess) {
    for (int i = 0; i < kWordsPerPage; ++i) {
      replyWords_[i] = ReadLe16(rxBuffer_ + kReplyDataIndex + 2 * i);
    }
  }
  return result;
}

LinkResult ActuatorLink::WriteWords(uint16_t wordAddress, const uint16_t* words, int count,
                                    FrameForm form) {
  if (count < 1 || count > kMaxWriteWords) {
    return LinkResult::kFailed;
  }
  SendWords(kWriteWordsCode, wordAddress, std::span(words, static_cast<size_t>(count)),
            FormatFor(form));
  const LinkResult ack = ReceiveAck(kAckTimeoutMs);
  if (ack == LinkResult::kNoReply && lastReceivedCount_ > 0) {
    // A damaged acknowledge is still followed by the write-done. Left on the line, it would pass
    // for the next attempt's acknowledge, and so on for every attempt after it.
    ReceiveWriteDone(kWriteDoneTimeoutMs);
  }
  if (ack != LinkResult::kSuccess) {
    return ack;
  }
  return ReceiveWriteDone(kWriteDoneTimeoutMs);
}

bool ActuatorLink::RetryAcked(void (ActuatorLink::*send)(), int attempts, int timeoutMs,
                              int failureSleepMs) {
  for (int attempt = 0; attempt < attempts; ++attempt) {
    (this->*send)();
    if (ReceiveAck(timeoutMs) == LinkResult::kSuccess) {
      return true;
    }
    if (failureSleepMs > 0) {
      clock_.SleepMs(failureSleepMs);
    }
  }
  return false;
}

LinkResult ActuatorLink::EnableWrites() {
  return SuccessOr(
      RetryAcked(&ActuatorLink::SendWriteEnable, kWriteEnableAttempts, kDefaultReceiveTimeoutMs, 0),
      LinkResult::kFailed);
}

LinkResult ActuatorLink::Disabled(bool acknowledged, LinkResult failure) {
  if (acknowledged) {
    writesMayBeEnabled_ = false;
  }
  return SuccessOr(acknowledged, failure);
}

LinkResult ActuatorLink::DisableWrites() {
  return Disabled(RetryAcked(&ActuatorLink::SendWriteDisable, kWriteDisableAttempts,
                             kDefaultReceiveTimeoutMs, kWriteDisableFailureSleepMs),
                  LinkResult::kFailed);
}

LinkResult ActuatorLink::DisableWritesAfterDownload() {
  return Disabled(RetryAcked(&ActuatorLink::SendWriteDisable, kWriteDisableAfterDownloadAttempts,
                             kDefaultReceiveTimeoutMs, kWriteDisableFailureSleepMs),
                  LinkResult::kNoReply);
}

LinkResult ActuatorLink::ClearFaults() {
  return SuccessOr(RetryAcked(&ActuatorLink::SendClearFaults, kClearFaultsAttempts, kAckTimeoutMs,
                              kClearFaultsFailureSleepMs),
                   LinkResult::kRetriesFailed);
}

LinkResult ActuatorLink::ResetRunHours() {
  return SuccessOr(RetryAcked(&ActuatorLink::SendResetRunHours, kResetRunHoursAttempts,
                              kDefaultReceiveTimeoutMs, kResetRunHoursFailureSleepMs),
                   LinkResult::kNoReply);
}

LinkResult ActuatorLink::WriteRecordWords(uint16_t byteAddress, const uint16_t words[3]) {
  for (int attempt = 0; attempt < kRecordWriteAttempts; ++attempt) {
    if (WriteWords(static_cast<uint16_t>(byteAddress / 2), words, kRecordWords, FrameForm::kCrc) ==
        LinkResult::kSuccess) {
      return LinkResult::kSuccess;
    }
  }
  return LinkResult::kRetriesFailed;
}

LinkResult ActuatorLink::EraseRecordWords(uint16_t byteAddress) {
  const uint16_t zeros[kRecordWords] = {};
  return WriteRecordWords(byteAddress, zeros);
}

LinkResult ActuatorLink::ReadIdentification() {
  uint16_t block[kIdentificationWords];
  for (int page = 0; page < kIdentificationWords / kWordsPerPage; ++page) {
    const auto address = static_cast<uint16_t>(kIdentificationAddress + page * kWordsPerPage);
    LinkResult result = LinkResult::kFailed;
    for (int attempt = 0; attempt < kIdentificationPageAttempts && result != LinkResult::kSuccess;
         ++attempt) {
      result = ReadWords(address);
    }
    if (result != LinkResult::kSuccess) {
      return LinkResult::kRetriesFailed;
    }
    std::memcpy(block + page * kWordsPerPage, replyWords_, sizeof replyWords_);
  }
  const auto serial = static_cast<int32_t>(block[0] | (static_cast<uint32_t>(block[1]) << 16));
  std::snprintf(identSerialNumber_, sizeof identSerialNumber_, "%d", serial);
  UnpackText(block + 2, kModelNumberLength, identModelNumber_);
  UnpackText(block + 8, kPartNumberLength, identPartNumber_);
  return LinkResult::kSuccess;
}

// Replies of the CRC-only readings are taken from index 0 once their count has settled; a wait
// without a settled count reads nothing.
bool ActuatorLink::ReceiveOwnWaitReply(int sleepMs, int threshold, int limitMs, uint8_t code) {
  clock_.SleepMs(sleepMs);
  const Wait wait = WaitForStableCount(threshold, limitMs);
  return wait.stable && IsValidCrcReply(ReadReceived(wait.count), code);
}

bool ActuatorLink::RetryOwnWaitReply(void (ActuatorLink::*send)(), int threshold, uint8_t code) {
  for (int attempt = 0; attempt < kHoursAttempts; ++attempt) {
    (this->*send)();
    if (ReceiveOwnWaitReply(kHoursSleepMs, threshold, kHoursLimitMs, code)) {
      return true;
    }
  }
  return false;
}

LinkResult ActuatorLink::RequestSpan() {
  SendSpanRequest();
  if (!ReceiveOwnWaitReply(kReadingSleepMs, kSpanReplyLength, kReadingLimitMs, kSpanReplyCode)) {
    return LinkResult::kFailed;
  }
  span_ = ReadLe32(rxBuffer_ + kReplyDataIndex);
  return LinkResult::kSuccess;
}

LinkResult ActuatorLink::RequestMaxForce() {
  SendMaxForceRequest();
  if (!ReceiveOwnWaitReply(kReadingSleepMs, kMaxForceReplyLength, kReadingLimitMs,
                           kMaxForceReplyCode)) {
    return LinkResult::kFailed;
  }
  maxForce_ = ReadLe16(rxBuffer_ + kReplyDataIndex);
  return LinkResult::kSuccess;
}

LinkResult ActuatorLink::RequestRunHours16() {
  if (!RetryOwnWaitReply(&ActuatorLink::SendRunHoursRequest, kHours16ReplyLength,
                         kRunHoursReplyCode)) {
    return LinkResult::kFailed;
  }
  runHours16_ = ReadLe16(rxBuffer_ + kReplyDataIndex);
  return LinkResult::kSuccess;
}

LinkResult ActuatorLink::RequestRunHours32() {
  if (!RetryOwnWaitReply(&ActuatorLink::SendRunHoursRequest, kHours32ReplyLength,
                         kRunHoursReplyCode)) {
    return LinkResult::kFailed;
  }
  runHours32_ = ReadLe32(rxBuffer_ + kReplyDataIndex);
  return LinkResult::kSuccess;
}

LinkResult ActuatorLink::RequestPoweredHours() {
  if (!RetryOwnWaitReply(&ActuatorLink::SendPoweredHoursRequest, kHours32ReplyLength,
                         kPoweredHoursReplyCode)) {
    return LinkResult::kFailed;
  }
  poweredHours_ = ReadLe32(rxBuffer_ + kReplyDataIndex);
  return LinkResult::kSuccess;
}

LinkResult ActuatorLink::ReadMemoryWord(uint16_t address, uint16_t& value) {
  for (int attempt = 0; attempt < kMemoryWordAttempts; ++attempt) {
    SendWords(kReadMemoryCode, address, {}, kFrameFormats[kCrcMode]);
    int count = 0;
    for (int poll = 0; poll < kMemoryReplyPolls && count < kMemoryReplyLength; ++poll) {
      clock_.SleepMs(kMemoryReplyPollMs);
      count = serialPort_.ReceiveCount();
    }
    if (count < kMemoryReplyLength) {
      continue;
    }
    if (IsValidCrcReply(ReadReceived(count), kMemoryReplyCode) &&
        rxBuffer_[2] == kMemoryReplyLength) {
      value = ReadLe16(rxBuffer_ + kReplyDataIndex);
      return LinkResult::kSuccess;
    }
  }
  return LinkResult::kRequestFailed;
}

LinkResult ActuatorLink::WriteMemoryWord(uint16_t address, uint16_t value) {
  const uint16_t data[] = {value};
  for (int attempt = 0; attempt < kMemoryWordAttempts; ++attempt) {
    SendWords(kWriteMemoryCode, address, data, kFrameFormats[kCrcMode]);
    if (ReceiveAck() == LinkResult::kSuccess) {
      return LinkResult::kSuccess;
    }
    clock_.SleepMs(kWriteMemoryFailureSleepMs);
  }
  return LinkResult::kRequestFailed;
}

LinkResult ActuatorLink::RequestModeStatus(int& statusFlags) {
  for (int attempt = 0; attempt < kModeStatusAttempts; ++attempt) {
    SendStatusRequest();
    clock_.SleepMs(kModeStatusSleepMs);
    if (serialPort_.ReceiveCount() != kStatusFrameLength) {
      continue;
    }
    if (IsValidCrcReply(ReadReceived(kStatusFrameLength), kStatusReplyCode) &&
        rxBuffer_[2] == kStatusFrameLength) {
      std::memcpy(statusFrame_, rxBuffer_, sizeof statusFrame_);
      statusFlags = rxBuffer_[kModeStatusByte];
      return LinkResult::kSuccess;
    }
  }
  return LinkResult::kRequestFailed;
}

}  // namespace velmar
