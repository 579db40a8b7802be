#pragma once

namespace velmar {

// How reading or writing one of the program's files ended; the failure's box has been shown.
enum class FileResult { kOk = 0, kFailed = -1 };

}  // namespace velmar
