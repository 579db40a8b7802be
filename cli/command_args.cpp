#include "cli_command.h"

namespace velmar {

bool CommandArgs::TakeOption(const std::string& name, std::string& value) {
  for (size_t i = 0; i < words_.size(); ++i) {
    if (taken_[i] || words_[i] != name) {
      continue;
    }
    taken_[i] = true;
    if (i + 1 >= words_.size() || taken_[i + 1]) {
      missingValue_ = true;
      return false;
    }
    taken_[i + 1] = true;
    value = words_[i + 1];
    return true;
  }
  return false;
}

bool CommandArgs::TakeFlag(const std::string& name) {
  for (size_t i = 0; i < words_.size(); ++i) {
    if (!taken_[i] && words_[i] == name) {
      taken_[i] = true;
      return true;
    }
  }
  return false;
}

bool CommandArgs::TakePositional(std::string& value) {
  for (size_t i = 0; i < words_.size(); ++i) {
    if (!taken_[i] && (words_[i].rfind("--", 0) != 0 || words_[i] == "--")) {
      taken_[i] = true;
      value = words_[i];
      return true;
    }
  }
  return false;
}

std::string CommandArgs::Leftover() const {
  for (size_t i = 0; i < words_.size(); ++i) {
    if (!taken_[i]) {
      return words_[i];
    }
  }
  return "";
}

}  // namespace velmar
