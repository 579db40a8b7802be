#include <algorithm>

#include "link/actuator_link.h"

namespace velmar {

namespace {

constexpr int kRecordReadTries = 3;
constexpr int kRecordReadPauseMs = 50;
constexpr int kWordsPerRecordRead = 3;

}  // namespace

LinkResult ActuatorLink::ReadRecordWords(uint16_t byteAddress, uint16_t words[3]) {
  for (int attempt = 0; attempt < kRecordReadTries; ++attempt) {
    if (attempt > 0) {
      clock_.SleepMs(kRecordReadPauseMs);
    }
    if (ReadWords(static_cast<uint16_t>(byteAddress / 2)) == LinkResult::kSuccess) {
      std::copy_n(replyWords_, kWordsPerRecordRead, words);
      return LinkResult::kSuccess;
    }
  }
  return LinkResult::kFailed;
}

LinkResult ActuatorLink::ReadRecordSlot(uint16_t byteAddress, uint16_t words[9]) {
  for (int part = 0; part < 3; ++part) {
    const LinkResult result =
        ReadRecordWords(static_cast<uint16_t>(byteAddress + 2 * kWordsPerRecordRead * part),
                        words + kWordsPerRecordRead * part);
    clock_.SleepMs(kRecordReadPauseMs);
    if (result != LinkResult::kSuccess) {
      return result;
    }
  }
  return LinkResult::kSuccess;
}

}  // namespace velmar
