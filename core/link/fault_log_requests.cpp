#include <cstring>

#include "link/actuator_link.h"

namespace velmar {

namespace {

constexpr int kRecordWords = 3;
constexpr int kLogReadTries = 3;
constexpr int kLogReadPauseMs = 50;
constexpr int kLogClearTries = 3;
constexpr int kFaultFileTries = 8;
constexpr int kFaultFilePauseMs = 40;
constexpr int kFaultFileTimeoutMs = 500;

}  // namespace

// `timeoutMs` is the reply time-out of each try; tries are `pauseMs` apart.
LinkResult ActuatorLink::ReadWordsRetried(uint16_t wordAddress, uint16_t words[kWordsPerPage],
                                          int tries, int pauseMs, int timeoutMs) {
  for (int attempt = 0; attempt < tries; ++attempt) {
    if (attempt > 0) {
      clock_.SleepMs(pauseMs);
    }
    if (ReadWords(wordAddress, FrameForm::kCurrentMode, timeoutMs) == LinkResult::kSuccess) {
      std::memcpy(words, replyWords_, sizeof replyWords_);
      return LinkResult::kSuccess;
    }
  }
  return LinkResult::kFailed;
}

LinkResult ActuatorLink::ReadLogWords(uint16_t byteAddress, uint16_t words[kWordsPerPage]) {
  return ReadWordsRetried(static_cast<uint16_t>(byteAddress / 2), words, kLogReadTries,
                          kLogReadPauseMs, kDefaultReceiveTimeoutMs);
}

LinkResult ActuatorLink::ReadFaultFileWords(uint16_t wordAddress, uint16_t words[kWordsPerPage]) {
  return ReadWordsRetried(wordAddress, words, kFaultFileTries, kFaultFilePauseMs,
                          kFaultFileTimeoutMs);
}

LinkResult ActuatorLink::ClearLogRecord(uint16_t slotAddress) {
  const uint16_t zeros[kRecordWords] = {};
  for (int attempt = 0; attempt < kLogClearTries; ++attempt) {
    if (WriteWords(static_cast<uint16_t>(slotAddress / 2), zeros, kRecordWords) ==
        LinkResult::kSuccess) {
      return LinkResult::kSuccess;
    }
  }
  return LinkResult::kRetriesFailed;
}

}  // namespace velmar
