#pragma once

#include <string>
#include <string_view>

namespace velmar {

// Writes a file under a temporary name in the target's folder and renames it over the target
// only once it is completely written, so a failed write never loses the file it would replace.
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
  // Flushes the temporary file to disk and renames it over the target. False on any failure,
  // the target then being untouched.
  bool Commit();
  // The system's error (errno) of the first failure, 0 when nothing failed.
  int Error() const { return error_; }

 private:
  void Discard();

  std::string path_;
  std::string temporaryPath_;
  int fd_ = -1;
  bool failed_ = false;
  int error_ = 0;
};

}  // namespace velmar
