// Folders under core/ include each other in one direction only: a folder may include itself and
// the folders listed before it in VELMAR_CORE_LAYERS (comma-separated), never one after it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The folder of a line `#include "folder/file.h"`, or "" for any other line.
std::string IncludedFolder(const std::string& line) {
  std::istringstream words(line);
  std::string directive;
  std::string target;
  words >> directive >> target;
  if (directive != "#include" || target.size() < 2 || target.front() != '"') {
    return "";
  }
  const auto slash = target.find('/');
  return slash == std::string::npos ? "" : target.substr(1, slash - 1);
}

std::vector<std::string> Layers() {
  std::vector<std::string> layers;
  std::stringstream list(VELMAR_CORE_LAYERS);
  for (std::string layer; std::getline(list, layer, ',');) {
    layers.push_back(layer);
  }
  return layers;
}

TEST(CoreLayering, NoFolderIncludesOneAboveIt) {
  const std::vector<std::string> layers = Layers();
  const auto rank = [&](const std::string& folder) {
    return std::find(layers.begin(), layers.end(), folder) - layers.begin();
  };
  for (const auto& folder : std::filesystem::directory_iterator(VELMAR_CORE_DIR)) {
    const std::string name = folder.path().filename().string();
    ASSERT_LT(rank(name), static_cast<long>(layers.size()))
        << "core/" << name << " has no place in VELMAR_CORE_LAYERS";
    for (const auto& file : std::filesystem::recursive_directory_iterator(folder.path())) {
      std::ifstream in(file.path());
      int lineNumber = 0;
      for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        const std::string included = IncludedFolder(line);
        if (!included.empty() && rank(included) < static_cast<long>(layers.size())) {
          EXPECT_LE(rank(included), rank(name))
              << file.path().string() << ":" << lineNumber << " includes " << included
              << "/, a folder above core/" << name;
        }
      }
    }
  }
}

}  // namespace
