#pragma once

namespace velmar {

// How reading or writing one of the program's files ended; the failure's box has been shown.
// kNothingRecognised: the file was read but holds nothing of what it should, so nothing was taken.
enum class FileResult { kOk = 0, kFailed = -1, kNothingRecognised = -2 };

}  // namespace velmar
