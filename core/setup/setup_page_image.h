#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace velmar {

// The packed setup page image: little-endian 16-bit words, exchanged with the actuator in pages
// of six words. Its buffer is SetupParameters::pageImage; these helpers address it.

inline constexpr std::size_t kSetupPageBytes = 12;

// Bytes of the image for a firmware version: 200 (1.00), 204 (1.01 to 3.00) or 216 (later).
std::size_t SetupImageSize(int firmwareVersion);
// Pages of the image: 17 (the last of the 1.00 image holds 8 bytes) or 18.
int SetupPageCount(int firmwareVersion);
// Bytes of page `page` (12, or fewer for the last page of the 1.00 image).
std::size_t SetupPageSize(int firmwareVersion, int page);
// Actuator word offset of page `page`.
uint16_t PageWordOffset(int page);

uint16_t ImageWord(std::span<const uint8_t> image, std::size_t offset);
uint32_t ImageLong(std::span<const uint8_t> image, std::size_t offset);
void SetImageWord(std::span<uint8_t> image, std::size_t offset, uint16_t value);
void SetImageLong(std::span<uint8_t> image, std::size_t offset, uint32_t value);

// Sum of every word of `image` but the last, modulo 65536: the image's checksum word.
uint16_t SetupChecksum(std::span<const uint8_t> image);

}  // namespace velmar
