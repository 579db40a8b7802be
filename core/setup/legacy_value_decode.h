#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmar {

// Decodes a value stored under one of the old setup-file keys: 9 characters of padding, then the
// value's characters at every second position, each shifted (digits and "!" ... "*" swap, letters
// rotate by 13, "~" and blank swap). A token of fewer than 10 characters holds no value: nullopt.
std::optional<std::string> LegacyValueDecode(std::string_view token);

}  // namespace velmar
