#include <cstdio>
#include <cstring>

#include "base/little_endian.h"
#include "link/actuator_link.h"

namespace velmar {

namespace {

constexpr uint8_t kSoh = 0x01;
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
constexpr int kMemoryReplyLength = 7;
constexpr int kIdentificationWords = 18;
constexpr uint16_t kIdentificationAddress = 4;
constexpr int kModelNumberLength = 12;
constexpr int kPartNumberLength = 16;
constexpr int kModeStatusByte = 21;

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

}  // namespace

int ActuatorLink::ReadWords(uint16_t wordAddress, FrameForm form) {
  const bool crc = form == FrameForm::kCrc || crcMode != 0;
  txBuffer[0] = kSoh;
  txBuffer[1] = kReadWordsCode;
  txBuffer[2] = crc ? 9 : 8;
  WriteLe16(txBuffer + 3, wordAddress);
  WriteLe16(txBuffer + 5, kWordsPerPage);
  SendFramed(4, crc);
  const int result = ReceiveWords();
  if (result == 0) {
    for (int i = 0; i < kWordsPerPage; ++i) {
      replyWords[i] = ReadLe16(rxBuffer + 3 + 2 * i);
    }
  }
  return result;
}

int ActuatorLink::WriteWords(uint16_t wordAddress, const uint16_t* words, int count,
                             FrameForm form) {
  if (count < 1 || count > kMaxWriteWords) {
    return 1;
  }
  const bool crc = form == FrameForm::kCrc || crcMode != 0;
  const int dataCount = 2 + 2 * count;
  txBuffer[0] = kSoh;
  txBuffer[1] = kWriteWordsCode;
  txBuffer[2] = static_cast<uint8_t>(dataCount + (crc ? 5 : 4));
  WriteLe16(txBuffer + 3, wordAddress);
  for (int i = 0; i < count; ++i) {
    WriteLe16(txBuffer + 5 + 2 * i, words[i]);
  }
  SendFramed(dataCount, crc);
  receiveTimeoutMs = kAckTimeoutMs;
  const int ack = ReceiveAck();
  if (ack != 0) {
    return ack;
  }
  receiveTimeoutMs = kWriteDoneTimeoutMs;
  return ReceiveWriteDone();
}

bool ActuatorLink::RetryAcked(void (ActuatorLink::*send)(), int attempts, int timeoutMs,
                              int failureSleepMs) {
  for (int attempt = 0; attempt < attempts; ++attempt) {
    (this->*send)();
    receiveTimeoutMs = timeoutMs;
    if (ReceiveAck() == 0) {
      return true;
    }
    if (failureSleepMs > 0) {
      clock_.SleepMs(failureSleepMs);
    }
  }
  return false;
}

int ActuatorLink::EnableWrites() {
  return RetryAcked(&ActuatorLink::SendWriteEnable, 3, kDefaultReceiveTimeoutMs, 0) ? 0 : 1;
}

int ActuatorLink::DisableWrites() {
  return RetryAcked(&ActuatorLink::SendWriteDisable, 3, kDefaultReceiveTimeoutMs, 100) ? 0 : 1;
}

int ActuatorLink::DisableWritesAfterDownload() {
  return RetryAcked(&ActuatorLink::SendWriteDisable, 8, kDefaultReceiveTimeoutMs, 100) ? 0
                                                                                       : kNoReply;
}

int ActuatorLink::ClearFaults() {
  return RetryAcked(&ActuatorLink::SendClearFaults, 8, kAckTimeoutMs, 40) ? 0 : 2;
}

int ActuatorLink::ResetRunHours() {
  return RetryAcked(&ActuatorLink::SendResetRunHours, 3, kDefaultReceiveTimeoutMs, 250) ? 0
                                                                                        : kNoReply;
}

int ActuatorLink::WriteRecordWords(uint16_t byteAddress, const uint16_t words[3]) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (WriteWords(static_cast<uint16_t>(byteAddress / 2), words, kRecordWords, FrameForm::kCrc) ==
        0) {
      return 0;
    }
  }
  return 2;
}

int ActuatorLink::EraseRecordWords(uint16_t byteAddress) {
  const uint16_t zeros[kRecordWords] = {};
  return WriteRecordWords(byteAddress, zeros);
}

int ActuatorLink::ReadIdentification() {
  uint16_t block[kIdentificationWords];
  for (int page = 0; page < kIdentificationWords / kWordsPerPage; ++page) {
    const auto address = static_cast<uint16_t>(kIdentificationAddress + page * kWordsPerPage);
    int result = 1;
    for (int attempt = 0; attempt < 5 && result != 0; ++attempt) {
      result = ReadWords(address);
    }
    if (result != 0) {
      return 2;
    }
    std::memcpy(block + page * kWordsPerPage, replyWords, sizeof replyWords);
  }
  const auto serial = static_cast<int32_t>(block[0] | (static_cast<uint32_t>(block[1]) << 16));
  std::snprintf(identSerialNumber, sizeof identSerialNumber, "%d", serial);
  UnpackText(block + 2, kModelNumberLength, identModelNumber);
  UnpackText(block + 8, kPartNumberLength, identPartNumber);
  return 0;
}

// Replies of the CRC-only readings are taken from index 0 once their count has settled; a wait
// without a settled count reads nothing.
int ActuatorLink::ReceiveOwnWaitReply(int sleepMs, int threshold, int limitMs, uint8_t code) {
  clock_.SleepMs(sleepMs);
  const Wait wait = WaitForStableCount(threshold, limitMs);
  if (!wait.stable) {
    return 1;
  }
  return IsValidCrcReply(ReadReceived(wait.count), code) ? 0 : 1;
}

int ActuatorLink::RetryOwnWaitReply(void (ActuatorLink::*send)(), int threshold, uint8_t code) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    (this->*send)();
    if (ReceiveOwnWaitReply(100, threshold, 500, code) == 0) {
      return 0;
    }
  }
  return 1;
}

int ActuatorLink::RequestSpan() {
  SendSpanRequest();
  if (ReceiveOwnWaitReply(60, 11, 200, kSpanReplyCode) != 0) {
    return 1;
  }
  span = ReadLe32(rxBuffer + 3);
  return 0;
}

int ActuatorLink::RequestMaxForce() {
  SendMaxForceRequest();
  if (ReceiveOwnWaitReply(60, 7, 200, kMaxForceReplyCode) != 0) {
    return 1;
  }
  maxForce = ReadLe16(rxBuffer + 3);
  return 0;
}

int ActuatorLink::RequestRunHours16() {
  if (RetryOwnWaitReply(&ActuatorLink::SendRunHoursRequest, 7, kRunHoursReplyCode) != 0) {
    return 1;
  }
  runHours16 = ReadLe16(rxBuffer + 3);
  return 0;
}

int ActuatorLink::RequestRunHours32() {
  if (RetryOwnWaitReply(&ActuatorLink::SendRunHoursRequest, 9, kRunHoursReplyCode) != 0) {
    return 1;
  }
  runHours32 = ReadLe32(rxBuffer + 3);
  return 0;
}

int ActuatorLink::RequestPoweredHours() {
  if (RetryOwnWaitReply(&ActuatorLink::SendPoweredHoursRequest, 9, kPoweredHoursReplyCode) != 0) {
    return 1;
  }
  poweredHours = ReadLe32(rxBuffer + 3);
  return 0;
}

int ActuatorLink::ReadMemoryWord(uint16_t address) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    txBuffer[0] = kSoh;
    txBuffer[1] = kReadMemoryCode;
    txBuffer[2] = 7;
    WriteLe16(txBuffer + 3, address);
    SendFramed(2, true);
    int count = 0;
    for (int poll = 0; poll < 3 && count < kMemoryReplyLength; ++poll) {
      clock_.SleepMs(66);
      count = serialPort_.ReceiveCount();
    }
    if (count < kMemoryReplyLength) {
      continue;
    }
    if (IsValidCrcReply(ReadReceived(count), kMemoryReplyCode) &&
        rxBuffer[2] == kMemoryReplyLength) {
      return ReadLe16(rxBuffer + 3);
    }
  }
  return -1;
}

int ActuatorLink::WriteMemoryWord(uint16_t address, uint16_t value) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    txBuffer[0] = kSoh;
    txBuffer[1] = kWriteMemoryCode;
    txBuffer[2] = 9;
    WriteLe16(txBuffer + 3, address);
    WriteLe16(txBuffer + 5, value);
    SendFramed(4, true);
    if (ReceiveAck() == 0) {
      return 0;
    }
    clock_.SleepMs(100);
  }
  return -1;
}

int ActuatorLink::RequestModeStatus() {
  for (int attempt = 0; attempt < 5; ++attempt) {
    SendStatusRequest();
    clock_.SleepMs(100);
    if (serialPort_.ReceiveCount() != kStatusFrameLength) {
      continue;
    }
    if (IsValidCrcReply(ReadReceived(kStatusFrameLength), kStatusReplyCode) &&
        rxBuffer[2] == kStatusFrameLength) {
      std::memcpy(statusFrame, rxBuffer, sizeof statusFrame);
      return rxBuffer[kModeStatusByte];
    }
  }
  return -1;
}

}  // namespace velmar
