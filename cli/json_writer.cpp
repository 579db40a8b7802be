#include "json_writer.h"

#include <cstdio>

namespace velmar {

namespace {

// Length of the valid UTF-8 sequence at `text[i]`, or 0 when the bytes there are not one.
size_t Utf8SequenceLength(std::string_view text, size_t i) {
  const auto byte = static_cast<unsigned char>(text[i]);
  size_t length = 0;
  uint32_t lowest = 0;
  if (byte >= 0xC2 && byte <= 0xDF) {
    length = 2;
    lowest = 0x80;
  } else if (byte >= 0xE0 && byte <= 0xEF) {
    length = 3;
    lowest = 0x800;
  } else if (byte >= 0xF0 && byte <= 0xF4) {
    length = 4;
    lowest = 0x10000;
  } else {
    return 0;
  }
  if (i + length > text.size()) {
    return 0;
  }
  uint32_t code = byte & (0x7F >> length);
  for (size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) {
      return 0;
    }
    code = (code << 6) | (next & 0x3F);
  }
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  return code < lowest || code > 0x10FFFF || surrogate ? 0 : length;
}

void AppendEscaped(std::string& out, std::string_view text) {
  out += '"';
  for (size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte == '"' || byte == '\\') {
      out += '\\';
      out += static_cast<char>(byte);
      ++i;
    } else if (byte >= 0x20 && byte < 0x7F) {
      out += static_cast<char>(byte);
      ++i;
    } else if (const size_t length = byte >= 0x80 ? Utf8SequenceLength(text, i) : 0; length > 0) {
      out.append(text.substr(i, length));
      i += length;
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
      ++i;
    }
  }
  out += '"';
}

}  // namespace

void JsonWriter::BeforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (!first_.empty()) {
    if (!first_.back()) {
      text_ += ',';
    }
    first_.back() = false;
  }
}

JsonWriter& JsonWriter::Open(char bracket) {
  BeforeValue();
  text_ += bracket;
  first_.push_back(true);
  return *this;
}

JsonWriter& JsonWriter::Close(char bracket) {
  text_ += bracket;
  first_.pop_back();
  return *this;
}

JsonWriter& JsonWriter::BeginObject() {
  return Open('{');
}
JsonWriter& JsonWriter::EndObject() {
  return Close('}');
}
JsonWriter& JsonWriter::BeginArray() {
  return Open('[');
}
JsonWriter& JsonWriter::EndArray() {
  return Close(']');
}

JsonWriter& JsonWriter::Key(std::string_view key) {
  BeforeValue();
  AppendEscaped(text_, key);
  text_ += ':';
  afterKey_ = true;
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
  BeforeValue();
  AppendEscaped(text_, text);
  return *this;
}

JsonWriter& JsonWriter::Number(int64_t value) {
  BeforeValue();
  text_ += std::to_string(value);
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
  BeforeValue();
  text_ += value ? "true" : "false";
  return *this;
}

void JsonWriter::Print() const {
  std::printf("%s\n", text_.c_str());
}

}  // namespace velmar
