#include "configdb/part_catalogue.h"

#include <cctype>
#include <charconv>
#include <fstream>

namespace velmar {
namespace {

constexpr std::string_view kBlanksAndCommas = " \t,";
constexpr std::string_view kCommas = ",";
constexpr int kNoUpperBound = 0x6363;  // "99.99"

// Takes the next token as strtok does: leading delimiters skipped, the token ends at the next
// delimiter, which is consumed with it.
std::string_view NextToken(std::string_view& rest, std::string_view delimiters) {
  const std::size_t start = rest.find_first_not_of(delimiters);
  if (start == std::string_view::npos) {
    rest = {};
    return {};
  }
  rest.remove_prefix(start);
  const std::size_t end = rest.find_first_of(delimiters);
  const std::string_view token = rest.substr(0, end);
  rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  return token;
}

std::string_view CutAtControlCharacter(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (static_cast<unsigned char>(text[i]) < 0x20) {
      return text.substr(0, i);
    }
  }
  return text;
}

bool Fits(std::string_view text, std::size_t size) {
  return !text.empty() && text.size() < size;
}

// A record line: customer part number, maker part number, description up to a comma, minimum
// and maximum version. A line with a missing or over-long field, or a version that is not
// "M.m", yields nothing rather than a record built from the wrong pieces.
std::optional<CatalogueRecord> ParseRecordLine(std::string_view line) {
  std::string_view rest = line;
  const std::string_view customer = NextToken(rest, kBlanksAndCommas);
  const std::string_view maker = NextToken(rest, kBlanksAndCommas);
  std::string_view description = NextToken(rest, kCommas);
  const std::string_view minVersion = NextToken(rest, kBlanksAndCommas);
  const std::string_view maxVersion = NextToken(rest, kBlanksAndCommas);

  const std::size_t firstNonBlank = description.find_first_not_of(' ');
  description.remove_prefix(firstNonBlank == std::string_view::npos ? description.size()
                                                                    : firstNonBlank);
  description = CutAtControlCharacter(description);

  if (!Fits(customer, CatalogueRecord::kPartNoSize) || !Fits(maker, CatalogueRecord::kPartNoSize) ||
      description.size() >= CatalogueRecord::kDescriptionSize ||
      !Fits(minVersion, CatalogueRecord::kVersionSize) ||
      !Fits(maxVersion, CatalogueRecord::kVersionSize) || !ParseFirmwareVersionText(minVersion) ||
      !ParseFirmwareVersionText(maxVersion)) {
    return std::nullopt;
  }
  return CatalogueRecord{std::string(customer), std::string(maker), std::string(description),
                         std::string(minVersion), std::string(maxVersion)};
}

std::optional<int> ParseVersionPart(std::string_view digits) {
  int value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
      value > 255 || !std::isdigit(static_cast<unsigned char>(digits.front()))) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<int> ParseFirmwareVersionText(std::string_view text) {
  const std::size_t dot = text.find('.');
  if (dot == std::string_view::npos) {
    return std::nullopt;
  }
  const std::optional<int> major = ParseVersionPart(text.substr(0, dot));
  const std::optional<int> minor = ParseVersionPart(text.substr(dot + 1));
  if (!major || !minor) {
    return std::nullopt;
  }
  return *major * 256 + *minor;
}

int PartCatalogue::Load(const std::filesystem::path& path) {
  std::ifstream in(path);
  if (!in) {
    return 1;
  }
  records_.clear();
  current = CatalogueRecord{};
  cursor_.reset();
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    if (line.empty() || !std::isalnum(static_cast<unsigned char>(line.front()))) {
      continue;
    }
    if (std::optional<CatalogueRecord> record = ParseRecordLine(line)) {
      records_.push_back(std::move(*record));
    }
  }
  return 0;
}

int PartCatalogue::First() {
  if (records_.empty()) {
    cursor_.reset();
    return 1;
  }
  cursor_ = 0;
  current = records_.front();
  return 0;
}

int PartCatalogue::Next() {
  if (records_.empty() || !cursor_) {
    return 1;
  }
  if (*cursor_ + 1 >= records_.size()) {
    cursor_.reset();
    return 2;
  }
  current = records_[++*cursor_];
  return 0;
}

int PartCatalogue::FindByMakerPartNumber(std::string_view makerPartNo) {
  for (const CatalogueRecord& record : records_) {
    if (record.makerPartNo == makerPartNo) {
      current = record;
      return 0;
    }
  }
  return 1;
}

bool PartCatalogue::VersionInRange(int version) const {
  const std::optional<int> min = ParseFirmwareVersionText(current.minVersion);
  const std::optional<int> max = ParseFirmwareVersionText(current.maxVersion);
  if (!min || !max) {
    return false;
  }
  if (*max == 0) {
    return version == *min;
  }
  if (*max == kNoUpperBound) {
    return version >= *min;
  }
  return *min <= version && version <= *max;
}

}  // namespace velmar
