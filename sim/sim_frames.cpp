#include "sim_frames.h"

#include "base/frame_check.h"
#include "base/little_endian.h"

namespace velmar {

namespace {

// Data bytes of a request with a fixed layout; -1 for unknown codes and for WriteWords,
// whose length depends on its word count.
int FixedDataCount(uint8_t code) {
  switch (code) {
    case kWriteEnable:
    case kWriteDisable:
    case kCommitSetup:
    case kPrepareUpload:
    case kFirmwareVersion:
    case kClearFaults:
    case kSpanRequest:
    case kStatusRequest:
    case kMaxForceRequest:
    case kRunHoursRequest:
    case kResetRunHours:
    case kPoweredHoursRequest:
      return 0;
    case kReadMemoryWord:
      return 2;
    case kReadWords:
    case kWriteMemoryWord:
      return 4;
    default:
      return -1;
  }
}

}  // namespace

std::vector<uint8_t> BuildFrame(uint8_t code, const std::vector<uint8_t>& data, FrameMode mode) {
  const size_t checkSize = mode == FrameMode::kSum ? 1 : 2;
  std::vector<uint8_t> frame;
  frame.reserve(3 + data.size() + checkSize);
  frame.push_back(kSoh);
  frame.push_back(code);
  frame.push_back(static_cast<uint8_t>(3 + data.size() + checkSize));
  frame.insert(frame.end(), data.begin(), data.end());
  if (mode == FrameMode::kSum) {
    frame.push_back(Sum8(frame.data(), frame.size()));
  } else {
    const uint16_t crc = Crc16(frame.data(), frame.size());
    frame.push_back(static_cast<uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<uint8_t>(crc >> 8));
  }
  return frame;
}

bool HasValidCheck(const uint8_t* frame, size_t length, FrameMode mode) {
  if (mode == FrameMode::kSum) {
    return length >= 4 && Sum8(frame, length - 1) == frame[length - 1];
  }
  if (length < 5) {
    return false;
  }
  return ReadLe16(frame + length - 2) == Crc16(frame, length - 2);
}

bool IsCrcOnly(uint8_t code) {
  return (code >= kSpanRequest && code <= kPoweredHoursRequest) || code == kReadMemoryWord ||
         code == kWriteMemoryWord;
}

std::optional<FrameMode> RequestForm(uint8_t code, uint8_t length) {
  if (length > kMaxFrameLength) {
    return std::nullopt;
  }
  if (code == kWriteWords) {
    // Address plus at least one word: an even LEN is the sum form, an odd one the CRC form.
    if (length < 8) {
      return std::nullopt;
    }
    return length % 2 == 0 ? FrameMode::kSum : FrameMode::kCrc;
  }
  const int dataCount = FixedDataCount(code);
  if (dataCount < 0) {
    return std::nullopt;
  }
  if (length == dataCount + 5) {
    return FrameMode::kCrc;
  }
  if (length == dataCount + 4 && !IsCrcOnly(code)) {
    return FrameMode::kSum;
  }
  return std::nullopt;
}

}  // namespace velmar
