#pragma once

#include <cstdint>

namespace crc {

// A CRC-32 written in hexadecimal.
inline constexpr int kCrc32Digits = 8;

// CRC-16/XMODEM over the first len - 2 bytes (a block less its trailer).
uint16_t generate_crc16(const uint8_t* buffer, uint32_t len);

// CRC-16/XMODEM over len bytes, continuing from value.
uint16_t update(uint16_t value, const uint8_t* data, uint32_t len);

}  // namespace crc
