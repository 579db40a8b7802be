#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

// One approved configuration of "Configurations.cfg". Each field keeps at most its size - 1
// characters.
struct CatalogueRecord {
  static constexpr std::size_t kPartNoSize = 40;
  static constexpr std::size_t kDescriptionSize = 80;
  static constexpr std::size_t kVersionSize = 40;

  std::string customerPartNo;  // also names the setup file in the database, "%s.cfg"
  std::string makerPartNo;
  std::string description;
  std::string minVersion;  // "M.m"
  std::string maxVersion;  // "M.m"; "0.0": exactly minVersion; "99.99": no upper bound
};

// Firmware version text "M.m" as major * 256 + minor ("2.5" and "2.05" both give 0x205); empty
// for text that is not two numbers of 0..255 around a dot.
std::optional<int> ParseFirmwareVersionText(std::string_view text);

// The configurations in file order, with a cursor for First/Next and the current record those
// and FindByMakerPartNumber fill.
class PartCatalogue {
 public:
  static constexpr const char* kFileName = "Configurations.cfg";

  // Replaces the list by the records of `path`. 1 when the file cannot be opened (the list is
  // then kept). Record lines that do not fit the format are skipped whole.
  int Load(const std::filesystem::path& path);

  int First();  // 0, or 1 when the list is empty
  int Next();   // 0; 2 past the last record; 1 when the list is empty or the cursor unset
  int FindByMakerPartNumber(std::string_view makerPartNo);  // 0 found, 1 none

  // Whether the current record admits firmware `version` (major * 256 + minor).
  bool VersionInRange(int version) const;

  std::size_t Count() const { return records_.size(); }

  CatalogueRecord current;

 private:
  std::vector<CatalogueRecord> records_;
  std::optional<std::size_t> cursor_;
};

}  // namespace velmar
