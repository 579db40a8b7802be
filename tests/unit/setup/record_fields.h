#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "setup/setup_parameters.h"

namespace velmar::test {

// The field a setup-file key (or "OrvikPartNo") names, so tables can list fields as key and text.
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

inline void SetFields(SetupFields& fields,
                      std::initializer_list<std::pair<std::string_view, std::string_view>> edits) {
  for (const auto& [key, text] : edits) {
    SetField(FieldByKey(fields, key), text);
  }
}

// The default loop constants of firmware 1.00 (the record's own are those of 1.01).
inline void SetFirmware100LoopSet(SetupFields& fields) {
  SetFields(fields, {{"POSLOOPTUNECONST", "15"},
                     {"CURLOOPPCONST", "0.01"},
                     {"CURLOOPICONST", "200"},
                     {"VELLOOPPCONST", "5"},
                     {"VELLOOPICONST", "500"}});
}

}  // namespace velmar::test
