#pragma once

#include <filesystem>

namespace velmar {

// A private folder under the system's temporary directory, removed with everything in it when
// the object goes out of scope. Extracted database entries live here, never where they could
// replace a user's file.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // False when the folder could not be created; `Path()` is then empty.
  bool Valid() const { return !path_.empty(); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace velmar
