#include "base/temp_folder.h"

#include <stdlib.h>

#include <string>
#include <system_error>
#include <vector>

namespace velmar {

TempFolder::TempFolder() {
  std::error_code error;
  const std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) {
    return;
  }
  const std::string pattern = (base / "velmar-XXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (::mkdtemp(name.data()) != nullptr) {
    path_ = name.data();
  }
}

TempFolder::~TempFolder() {
  if (Valid()) {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
}

}  // namespace velmar
