#pragma once

#include <string>
#include <string_view>

namespace velmar {

// Writes a file under a temporary name in the target's folder and renames it over the target
// only once it is completely written, so a failed write never loses the file it would replace.
// A target that exists and is no regular file (a device such as /dev/stdout, a pipe) is written
// in place: there is no file to lose, and a rename would put a plain file where the device was.
class ReplacingFile {
 public:
  ReplacingFile() = default;
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;
  // Removes the temporary file unless Commit succeeded.
  ~ReplacingFile();

  // False when the temporary file cannot be created.
  bool Open(const std::string& path);
  // False when the bytes cannot all be written; later writes and Commit then fail too.
  bool Write(std::string_view bytes);
  // Flushes the temporary file to disk and renames it over the target. False on any failure
  // (flush, close or rename), the target then being untouched.
  bool Commit();
  // The system's error (errno) of the first failure, 0 when nothing failed.
  int Error() const { return error_; }

 private:
  void Discard();
  // Keeps `errno` as the reason; false.
  bool Fail();

  std::string path_;
  std::string temporaryPath_;
  int fd_ = -1;
  bool inPlace_ = false;
  int error_ = 0;
};

}  // namespace velmar
