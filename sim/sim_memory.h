#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace velmar {

inline constexpr size_t kMemoryWords = 0x1000;
inline constexpr size_t kMemoryFileBytes = kMemoryWords * 2;

// Identification block of the setup image, in words.
inline constexpr size_t kSerialNumberWord = 4;
inline constexpr size_t kModelNumberWord = 6;
inline constexpr size_t kModelNumberChars = 12;
inline constexpr size_t kPartNumberWord = 12;
inline constexpr size_t kPartNumberChars = 16;

// The actuator's parameter memory: 0x1000 16-bit words (byte addresses 0x0000-0x1FFF) holding
// the setup image, the fault file, the fault configuration records and the fault log.
class SimMemory {
 public:
  // A memory as an actuator leaves the factory: all words 0 but the fault configuration records
  // and their checksum record.
  SimMemory();

  uint16_t Word(size_t address) const { return words_.at(address); }
  void SetWord(size_t address, uint16_t value) { words_.at(address) = value; }
  // Whether `count` words from `address` lie inside the memory.
  static bool Holds(size_t address, size_t count) {
    return address <= kMemoryWords && count <= kMemoryWords - address;
  }

  uint32_t SerialNumber() const;
  void SetSerialNumber(uint32_t serial);
  std::string ModelNumber() const { return Text(kModelNumberWord, kModelNumberChars); }
  // Stores at most 12 characters, NUL-padded.
  void SetModelNumber(const std::string& model) {
    SetText(kModelNumberWord, kModelNumberChars, model);
  }
  std::string PartNumber() const { return Text(kPartNumberWord, kPartNumberChars); }
  // Stores at most 16 characters, NUL-padded.
  void SetPartNumber(const std::string& part) { SetText(kPartNumberWord, kPartNumberChars, part); }

  // The memory file is a plain image of 8192 bytes, little-endian words. Load leaves the memory
  // unchanged on failure; Save writes a temporary file beside the target and renames it over.
  // Both give false and a readable reason in `error` on failure.
  bool Load(const std::string& path, std::string& error);
  bool Save(const std::string& path, std::string& error) const;

 private:
  std::string Text(size_t firstWord, size_t chars) const;
  void SetText(size_t firstWord, size_t chars, const std::string& text);

  std::array<uint16_t, kMemoryWords> words_{};
};

}  // namespace velmar
