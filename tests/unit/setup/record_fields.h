#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "setup/setup_parameters.h"

namespace velmar::test {

// The field a setup-file key (or "OrvikPartNo") names.
inline std::span<char> FieldByKey(SetupFields& fields, std::string_view key) {
  for (const SetupFieldInfo& info : kSetupFileFields) {
    if (key == info.key) {
      return FieldText(fields, info);
    }
  }
  EXPECT_EQ(key, "OrvikPartNo");
  return fields.OrvikPartNo;
}

inline std::string FieldValue(SetupFields fields, std::string_view key) {
  return FieldByKey(fields, key).data();
}

// Calls `use` for each item of "KEY=text|KEY=text...", so tables can list fields compactly.
inline void ForEachItem(std::string_view items,
                        const std::function<void(std::string_view, std::string_view)>& use) {
  while (!items.empty()) {
    const std::string_view item = items.substr(0, items.find('|'));
    items.remove_prefix(std::min(items.size(), item.size() + 1));
    const std::size_t equals = item.find('=');
    use(item.substr(0, equals), item.substr(equals + 1));
  }
}

inline void SetFields(SetupFields& fields, std::string_view items) {
  ForEachItem(items, [&](auto key, auto text) { SetField(FieldByKey(fields, key), text); });
}

inline void ExpectFields(const SetupFields& fields, std::string_view items) {
  ForEachItem(items, [&](auto key, auto text) { EXPECT_EQ(FieldValue(fields, key), text) << key; });
}

// A record with the defaults but for the listed fields.
inline SetupParameters Record(std::string_view items) {
  SetupParameters record;
  SetFields(record, items);
  return record;
}

// The default loop constants of firmware 1.00 (the record's own are those of 1.01).
inline constexpr const char* kLoops100 =
    "POSLOOPTUNECONST=15|CURLOOPPCONST=0.01|CURLOOPICONST=200|VELLOOPPCONST=5|VELLOOPICONST=500";

}  // namespace velmar::test
