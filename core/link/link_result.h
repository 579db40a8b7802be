#pragma once

namespace velmar {

// What a link operation came to. The numbers are fixed: callers and their messages rely on them.
enum class LinkResult : int {
  kSuccess = 0,
  // A negative acknowledge, a mismatching or damaged reply, or a single attempt that failed.
  kFailed = 1,
  // Every attempt failed (also a port that would not open).
  kRetriesFailed = 2,
  // No reply, or one too short.
  kNoReply = 21,
  // The memory-word and mode-status requests brought no valid reply.
  kRequestFailed = -1,
};

}  // namespace velmar
