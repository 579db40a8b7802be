#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace velmar {

using Sha256Digest = std::array<std::uint8_t, 32>;

// SHA-256 of a byte sequence fed in any number of pieces.
class Sha256 {
 public:
  Sha256();
  void Update(std::span<const std::uint8_t> data);
  // The digest of everything fed so far; the object is then spent.
  Sha256Digest Finish();

 private:
  void Compress(const std::uint8_t* block);

  std::array<std::uint32_t, 8> state_;
  std::array<std::uint8_t, 64> block_{};
  std::size_t blockUsed_ = 0;
  std::uint64_t totalBytes_ = 0;
};

// The digest as 64 lower-case hexadecimal digits.
std::string Sha256Hex(const Sha256Digest& digest);

}  // namespace velmar
