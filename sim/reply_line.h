#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace velmar {

// The actuator's transmit line: reply frames leave one byte at a time at the line rate
// (10 bits per byte: start, 8 data, stop), one frame after the other. Also applies the
// injected transmit faults, each to the next reply frames handed to it.
class ReplyLine {
 public:
  explicit ReplyLine(int baud);

  // Microseconds one byte takes on the wire.
  int64_t ByteTimeUs() const { return byteTimeUs_; }

  // Queues a frame whose first byte may start at `readyUs` (later if the line is still busy).
  void Send(std::vector<uint8_t> frame, int64_t readyUs);

  size_t Pending(int64_t nowMs) const;
  size_t Take(uint8_t* out, size_t max, int64_t nowMs);
  void Drop();
  // Millisecond at which the next queued byte is complete; -1 when nothing is queued.
  int64_t NextDeliveryMs() const;

  void DropReplies(int count) { dropCount_ = count; }
  void DelayReplies(int count, int delayMs);
  void CorruptNextCheck() { corruptNext_ = true; }
  void PrefixStrayByte(uint8_t value);
  void SplitNextReply(size_t firstChunkBytes, int gapMs);

 private:
  struct Byte {
    uint8_t value;
    int64_t dueUs;
  };

  int64_t byteTimeUs_;
  int64_t freeAtUs_ = 0;
  std::deque<Byte> queue_;

  int dropCount_ = 0;
  int delayCount_ = 0;
  int64_t delayUs_ = 0;
  bool corruptNext_ = false;
  bool strayNext_ = false;
  uint8_t strayValue_ = 0;
  size_t splitAt_ = 0;
  int64_t splitGapUs_ = 0;
};

}  // namespace velmar
