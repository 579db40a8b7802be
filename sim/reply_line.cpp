#include "reply_line.h"

#include <algorithm>

namespace velmar {

ReplyLine::ReplyLine(int baud) : byteTimeUs_(10'000'000 / std::max(baud, 1)) {}

void ReplyLine::Send(std::vector<uint8_t> frame, int64_t readyUs) {
  if (dropCount_ > 0) {
    --dropCount_;
    return;
  }
  if (delayCount_ > 0) {
    --delayCount_;
    readyUs += delayUs_;
  }
  if (corruptNext_ && !frame.empty()) {
    corruptNext_ = false;
    frame.back() ^= 0xFF;
  }
  size_t splitAt = 0;
  if (splitAt_ > 0) {
    splitAt = splitAt_;
    splitAt_ = 0;
  }
  if (strayNext_) {
    strayNext_ = false;
    frame.insert(frame.begin(), strayValue_);
    if (splitAt > 0) {
      ++splitAt;
    }
  }
  int64_t dueUs = std::max(readyUs, freeAtUs_);
  for (size_t i = 0; i < frame.size(); ++i) {
    if (splitAt > 0 && i == splitAt) {
      dueUs += splitGapUs_;
    }
    dueUs += byteTimeUs_;
    queue_.push_back(Byte{frame[i], dueUs});
  }
  freeAtUs_ = dueUs;
}

size_t ReplyLine::Pending(int64_t nowMs) const {
  const int64_t nowUs = nowMs * 1000;
  size_t count = 0;
  while (count < queue_.size() && queue_[count].dueUs <= nowUs) {
    ++count;
  }
  return count;
}

size_t ReplyLine::Take(uint8_t* out, size_t max, int64_t nowMs) {
  const size_t count = std::min(Pending(nowMs), max);
  for (size_t i = 0; i < count; ++i) {
    out[i] = queue_.front().value;
    queue_.pop_front();
  }
  return count;
}

void ReplyLine::Drop() {
  queue_.clear();
  freeAtUs_ = 0;
}

int64_t ReplyLine::NextDeliveryMs() const {
  if (queue_.empty()) {
    return -1;
  }
  return (queue_.front().dueUs + 999) / 1000;
}

void ReplyLine::DelayReplies(int count, int delayMs) {
  delayCount_ = count;
  delayUs_ = int64_t{delayMs} * 1000;
}

void ReplyLine::PrefixStrayByte(uint8_t value) {
  strayNext_ = true;
  strayValue_ = value;
}

void ReplyLine::SplitNextReply(size_t firstChunkBytes, int gapMs) {
  splitAt_ = firstChunkBytes;
  splitGapUs_ = int64_t{gapMs} * 1000;
}

}  // namespace velmar
