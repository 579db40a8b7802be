#pragma once

#include <cstddef>
#include <cstdint>

#include "base/frame_check.h"
#include "link/request_frames.h"

namespace velmar {

// SOH, code and LEN open every frame.
inline constexpr int kFrameHeaderLength = 3;

// One of the two frame forms; everything that differs between sum mode and CRC mode is here.
struct FrameFormat {
  // The check that closes a frame: the 8-bit sum (1 byte) or the CRC-16, low byte first (2).
  int checkLength;
  uint16_t (*check)(const uint8_t* data, size_t length);

  // The constant frames of this form, check bytes included, each Length(0) bytes long.
  const uint8_t* writeEnable;
  const uint8_t* writeDisable;
  const uint8_t* commitSetup;
  const uint8_t* prepareUpload;
  const uint8_t* firmwareVersion;
  const uint8_t* clearFaults;
  const uint8_t* ack;
  const uint8_t* nak;
  const uint8_t* writeDone;

  // LEN of a frame that carries `dataCount` data bytes.
  constexpr int Length(int dataCount) const { return kFrameHeaderLength + dataCount + checkLength; }
  // Writes the check of the `body` bytes at `frame` right after them.
  void AppendCheck(uint8_t* frame, int body) const;
  // Whether the `length`-byte frame ends in the check of the bytes before it.
  bool CheckMatches(const uint8_t* frame, int length) const;
};

// The sum check in the CRC's shape, so both forms share one table.
inline uint16_t SumCheck(const uint8_t* data, size_t length) {
  return Sum8(data, length);
}

// Indexed by the link's `crcMode`: sum mode, then CRC mode.
inline constexpr int kSumMode = 0;
inline constexpr int kCrcMode = 1;
inline constexpr FrameFormat kFrameFormats[2] = {
    {1, SumCheck, frames::kWriteEnableSum, frames::kWriteDisableSum, frames::kCommitSetupSum,
     frames::kPrepareUploadSum, frames::kFirmwareVersionSum, frames::kClearFaultsSum,
     frames::kAckSum, frames::kNakSum, frames::kWriteDoneSum},
    {2, Crc16, frames::kWriteEnableCrc, frames::kWriteDisableCrc, frames::kCommitSetupCrc,
     frames::kPrepareUploadCrc, frames::kFirmwareVersionCrc, frames::kClearFaultsCrc,
     frames::kAckCrc, frames::kNakCrc, frames::kWriteDoneCrc},
};

}  // namespace velmar
