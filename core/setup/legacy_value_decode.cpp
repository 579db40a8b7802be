#include "setup/legacy_value_decode.h"

namespace velmar {

namespace {

constexpr std::size_t kPadding = 9;

char DecodeCharacter(char c) {
  if (c >= '!' && c <= '*') {
    return static_cast<char>(c + 15);
  }
  if (c >= '0' && c <= '9') {
    return static_cast<char>(c - 15);
  }
  if ((c >= 'N' && c <= 'Z') || (c >= 'n' && c <= 'z')) {
    return static_cast<char>(c - 13);
  }
  if ((c >= 'A' && c <= 'M') || (c >= 'a' && c <= 'm')) {
    return static_cast<char>(c + 13);
  }
  if (c == '~') {
    return ' ';
  }
  if (c == ' ') {
    return '~';
  }
  return c;
}

}  // namespace

std::optional<std::string> LegacyValueDecode(std::string_view token) {
  if (token.size() <= kPadding) {
    return std::nullopt;
  }
  std::string value;
  for (std::size_t i = kPadding; i < token.size(); i += 2) {
    value.push_back(DecodeCharacter(token[i]));
  }
  return value;
}

}  // namespace velmar
