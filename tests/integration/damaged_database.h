#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "configdb/archive_format.h"
#include "configdb/config_database.h"
#include "support/file_bytes.h"

namespace velmar::test {

// A copy of the demo database in `folder` with one byte of `entry`'s data changed.
inline std::filesystem::path DamagedDatabase(const std::filesystem::path& folder,
                                             const std::string& entry) {
  ConfigDatabase lookup;
  EXPECT_EQ(lookup.FindEntry(VELMAR_DEMO_DB, entry), FindResult::kFound);
  std::string bytes = ReadBytes(VELMAR_DEMO_DB);
  bytes[lookup.entry.headerOffset + kEntryFixedHeaderSize + lookup.entry.nameLength + 7] ^= 0x08;
  WriteBytes(folder / "damaged.db", bytes);
  return folder / "damaged.db";
}

}  // namespace velmar::test
