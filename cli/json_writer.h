#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

// Builds one JSON document, in the order the calls come. Strings are escaped so the document is
// valid UTF-8 whatever bytes they hold: a byte that is not part of a valid UTF-8 sequence is
// taken as Latin-1.
class JsonWriter {
 public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  // The name of the next value inside an object.
  JsonWriter& Key(std::string_view key);
  JsonWriter& String(std::string_view text);
  JsonWriter& Number(int64_t value);
  JsonWriter& Bool(bool value);

  // Key and value together.
  JsonWriter& Field(std::string_view key, std::string_view text) { return Key(key).String(text); }
  JsonWriter& Field(std::string_view key, const char* text) { return Key(key).String(text); }
  JsonWriter& Field(std::string_view key, int64_t value) { return Key(key).Number(value); }
  JsonWriter& Field(std::string_view key, bool value) { return Key(key).Bool(value); }

  // The document so far.
  const std::string& Text() const { return text_; }
  // Writes the document and a line end to stdout.
  void Print() const;

 private:
  // A comma before every value but the first of its object or array, none after a key.
  void BeforeValue();
  JsonWriter& Open(char bracket);
  JsonWriter& Close(char bracket);

  std::string text_;
  std::vector<bool> first_;
  bool afterKey_ = false;
};

}  // namespace velmar
