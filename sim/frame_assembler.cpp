#include "frame_assembler.h"

namespace velmar {

void FrameAssembler::Feed(const uint8_t* data, size_t length, int64_t nowMs,
                          std::vector<Request>& requests) {
  if (length == 0) {
    return;
  }
  if (!pending_.empty() && nowMs - lastByteMs_ > frameGapMs_) {
    pending_.clear();
  }
  lastByteMs_ = nowMs;
  pending_.insert(pending_.end(), data, data + length);
  Extract(requests);
}

void FrameAssembler::Extract(std::vector<Request>& requests) {
  size_t start = 0;
  while (start < pending_.size()) {
    if (pending_[start] != kSoh) {
      ++start;
      continue;
    }
    if (pending_.size() - start < 3) {
      break;
    }
    const uint8_t code = pending_[start + 1];
    const uint8_t length = pending_[start + 2];
    const auto form = RequestForm(code, length);
    if (!form) {
      ++start;
      continue;
    }
    if (pending_.size() - start < length) {
      break;
    }
    const uint8_t* frame = pending_.data() + start;
    if (!HasValidCheck(frame, length, *form)) {
      ++start;
      continue;
    }
    const size_t checkSize = *form == FrameMode::kSum ? 1 : 2;
    requests.push_back(Request{code, *form,
                               std::vector<uint8_t>(frame + 3, frame + length - checkSize),
                               std::vector<uint8_t>(frame, frame + length)});
    start += length;
  }
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(start));
}

}  // namespace velmar
