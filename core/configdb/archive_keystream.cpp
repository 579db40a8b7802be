#include "configdb/archive_keystream.h"

#include "base/frame_check.h"

namespace velmar {

ArchiveKeystream::ArchiveKeystream(std::string_view password)
    : password_(password.begin(), password.end()) {}

void ArchiveKeystream::NextBlock() {
  block_.clear();
  for (const std::uint8_t byte : password_) {
    register_ = Crc16Update(register_, byte);
    block_.push_back(static_cast<std::uint8_t>(register_));
    block_.push_back(static_cast<std::uint8_t>(register_ >> 8));
  }
}

void ArchiveKeystream::Apply(std::span<std::uint8_t> data) {
  register_ = 0;
  if (password_.empty()) {
    return;
  }
  for (std::size_t k = 0; k < data.size(); ++k) {
    const std::size_t index = k % (2 * password_.size());
    if (index == 0) {
      NextBlock();
    }
    data[k] ^= block_[index];
  }
}

}  // namespace velmar
