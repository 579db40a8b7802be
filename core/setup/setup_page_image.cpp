#include "setup/setup_page_image.h"

#include <algorithm>

#include "base/little_endian.h"
#include "setup/setup_page_layout.h"

namespace velmar {

std::size_t SetupImageSize(int firmwareVersion) {
  return SetupLayoutFor(firmwareVersion).imageBytes;
}

int SetupPageCount(int firmwareVersion) {
  const std::size_t size = SetupImageSize(firmwareVersion);
  return static_cast<int>((size + kSetupPageBytes - 1) / kSetupPageBytes);
}

std::size_t SetupPageSize(int firmwareVersion, int page) {
  const std::size_t size = SetupImageSize(firmwareVersion);
  const std::size_t start = static_cast<std::size_t>(page) * kSetupPageBytes;
  if (page < 0 || start >= size)
    return 0;
  return std::min(kSetupPageBytes, size - start);
}

uint16_t PageWordOffset(int page) {
  return static_cast<uint16_t>(page * kSetupPageBytes / 2);
}

uint16_t ImageWord(std::span<const uint8_t> image, std::size_t offset) {
  return ReadLe16(image.data() + offset);
}

uint32_t ImageLong(std::span<const uint8_t> image, std::size_t offset) {
  return ReadLe32(image.data() + offset);
}

void SetImageWord(std::span<uint8_t> image, std::size_t offset, uint16_t value) {
  WriteLe16(image.data() + offset, value);
}

void SetImageLong(std::span<uint8_t> image, std::size_t offset, uint32_t value) {
  WriteLe32(image.data() + offset, value);
}

uint16_t SetupChecksum(std::span<const uint8_t> image) {
  uint16_t sum = 0;
  for (std::size_t offset = 0; offset + 2 < image.size(); offset += 2) {
    sum = static_cast<uint16_t>(sum + ImageWord(image, offset));
  }
  return sum;
}

}  // namespace velmar
