#include "link/frame_format.h"

namespace velmar {

// The check goes low byte first; the sum's one byte is its low byte.
void FrameFormat::AppendCheck(uint8_t* frame, int body) const {
  const uint16_t value = check(frame, body);
  for (int i = 0; i < checkLength; ++i) {
    frame[body + i] = static_cast<uint8_t>(value >> (8 * i));
  }
}

bool FrameFormat::CheckMatches(const uint8_t* frame, int length) const {
  const int body = length - checkLength;
  if (body < 0) {
    return false;
  }
  uint16_t received = 0;
  for (int i = 0; i < checkLength; ++i) {
    received = static_cast<uint16_t>(received | frame[body + i] << (8 * i));
  }
  return check(frame, body) == received;
}

}  // namespace velmar
