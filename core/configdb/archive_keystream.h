#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace velmar {

// Password keystream of the configuration archive. Each block of 2 * password-length bytes is
// the CRC-16/ARC register after each password byte (low byte first); the register runs on from
// block to block. XOR-ing with it enciphers and deciphers alike.
class ArchiveKeystream {
 public:
  explicit ArchiveKeystream(std::string_view password);

  // Enciphers or deciphers `data` in place; every call starts the register afresh at 0, as
  // each entry of the archive does.
  void Apply(std::span<std::uint8_t> data);

 private:
  void NextBlock();

  std::vector<std::uint8_t> password_;
  std::vector<std::uint8_t> block_;
  std::uint16_t register_ = 0;
};

}  // namespace velmar
