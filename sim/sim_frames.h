#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace velmar {

// The two frame formats: a one-byte additive check or a two-byte CRC-16, low byte first.
enum class FrameMode { kSum, kCrc };

// Request codes the actuator understands.
inline constexpr uint8_t kWriteEnable = 0x05;
inline constexpr uint8_t kWriteDisable = 0x08;
inline constexpr uint8_t kWriteWords = 0x09;
inline constexpr uint8_t kCommitSetup = 0x0A;
inline constexpr uint8_t kPrepareUpload = 0x0B;
inline constexpr uint8_t kReadWords = 0x0C;
inline constexpr uint8_t kFirmwareVersion = 0x10;
inline constexpr uint8_t kClearFaults = 0x11;
inline constexpr uint8_t kSpanRequest = 0x12;
inline constexpr uint8_t kStatusRequest = 0x13;
inline constexpr uint8_t kMaxForceRequest = 0x14;
inline constexpr uint8_t kRunHoursRequest = 0x15;
inline constexpr uint8_t kResetRunHours = 0x16;
inline constexpr uint8_t kPoweredHoursRequest = 0x17;
inline constexpr uint8_t kReadMemoryWord = 0x19;
inline constexpr uint8_t kWriteMemoryWord = 0x1A;

// Reply codes.
inline constexpr uint8_t kAcknowledge = 0x06;
inline constexpr uint8_t kNegativeAcknowledge = 0x07;
inline constexpr uint8_t kWordsReply = 0x0D;
inline constexpr uint8_t kWriteDone = 0x0E;
inline constexpr uint8_t kSpanReply = 0x32;
inline constexpr uint8_t kStatusReply = 0x33;
inline constexpr uint8_t kMaxForceReply = 0x34;
inline constexpr uint8_t kRunHoursReply = 0x35;
inline constexpr uint8_t kMemoryWordReply = 0x36;
inline constexpr uint8_t kPoweredHoursReply = 0x37;

inline constexpr uint8_t kSoh = 0x01;
inline constexpr size_t kMaxFrameLength = 33;

// A whole frame: SOH, code, LEN, data and the check of `mode`.
std::vector<uint8_t> BuildFrame(uint8_t code, const std::vector<uint8_t>& data, FrameMode mode);

// True when the frame's last one (sum) or two (CRC) bytes are the check of the bytes before.
bool HasValidCheck(const uint8_t* frame, size_t length, FrameMode mode);

// Whether a request with this code exists in CRC form only.
bool IsCrcOnly(uint8_t code);

// The form a request with this code and LEN is sent in, or nothing when no request of the
// protocol has that code and length.
std::optional<FrameMode> RequestForm(uint8_t code, uint8_t length);

}  // namespace velmar
