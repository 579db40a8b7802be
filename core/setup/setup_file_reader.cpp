#include "setup/setup_file_reader.h"

#include <cstddef>
#include <string>

#include "setup/legacy_value_decode.h"

namespace velmar {

#define LEGACY_KEY(key, field) \
  { key, offsetof(SetupFields, field), sizeof(SetupFields::field) }

namespace {

// Keys of an older file format; their values are stored encoded.
const SetupFieldInfo kLegacyFields[] = {
    LEGACY_KEY("SERIALNUM", SERIALNO),
    LEGACY_KEY("MODELNUM", MODELNO),
    LEGACY_KEY("PARTNUM", PARTNO),
    LEGACY_KEY("POSLPTUNECONST", POSLOOPTUNECONST),
    LEGACY_KEY("CURLPPCONST", CURLOOPPCONST),
    LEGACY_KEY("CURLPICONST", CURLOOPICONST),
    LEGACY_KEY("CURLPDCONST", CURLOOPDCONST),
    LEGACY_KEY("VELLPPCONST", VELLOOPPCONST),
    LEGACY_KEY("VELLPICONST", VELLOOPICONST),
    LEGACY_KEY("VELLPDCONST", VELLOOPDCONST),
};

#undef LEGACY_KEY

bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsDelimiter(char c) {
  return c == ' ' || c == '=';
}

// The next token of `line` from `position` on; empty when there is none.
std::string_view NextToken(std::string_view line, std::size_t& position) {
  while (position < line.size() && IsDelimiter(line[position])) {
    ++position;
  }
  const std::size_t start = position;
  while (position < line.size() && !IsDelimiter(line[position])) {
    ++position;
  }
  return line.substr(start, position - start);
}

// The line upper-cased up to its first control or non-ASCII character, which ends it.
std::string NormalisedLine(std::string_view line) {
  std::string result;
  for (char c : line) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 32 || code >= 128) {
      break;
    }
    result.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
  }
  return result;
}

}  // namespace

SetupLine ApplySetupFileLine(SetupFields& fields, std::string_view line) {
  if (line.empty() || !IsLetter(line.front())) {
    return SetupLine::kSkipped;
  }
  const std::string text = NormalisedLine(line);
  std::size_t position = 0;
  const std::string_view key = NextToken(text, position);
  const std::string_view value = NextToken(text, position);
  for (const SetupFieldInfo& info : kSetupFileFields) {
    if (key.find(info.key) != std::string_view::npos) {
      if (!value.empty()) {
        SetField(FieldText(fields, info), value);
      }
      return SetupLine::kKey;
    }
  }
  for (const SetupFieldInfo& info : kLegacyFields) {
    if (key.find(info.key) != std::string_view::npos) {
      if (const auto decoded = LegacyValueDecode(value)) {
        SetField(FieldText(fields, info), *decoded);
      }
      return SetupLine::kKey;
    }
  }
  return SetupLine::kUnknownKey;
}

bool ReadSetupFileLines(std::FILE* file, SetupFields& fields,
                        const std::function<void()>& onCountedLine, int& keyLines) {
  char piece[kSetupLinePiece + 1];
  while (std::fgets(piece, sizeof(piece), file) != nullptr) {
    const SetupLine line = ApplySetupFileLine(fields, piece);
    if (line != SetupLine::kSkipped) {
      onCountedLine();
    }
    if (line == SetupLine::kKey) {
      ++keyLines;
    }
  }
  return std::ferror(file) == 0;
}

}  // namespace velmar
