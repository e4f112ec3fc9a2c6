// Synthetic cartridge images with valid headers and bank-distinct contents.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace romgen {

// A GB/GBC image of 32 KiB << romCode bytes. Every 16 KiB bank differs from
// every other; header logo, type, sizes and both checksums are valid.
std::vector<uint8_t> gb_image(uint8_t type, uint8_t romCode, uint8_t ramCode,
                              const std::string& title = "ZELVO TEST");

// A 1 MiB MBC1 multicart: a menu and three games of 256 KiB, each with its
// own header (logo, title, sums), the menu's naming the whole 1 MiB.
std::vector<uint8_t> gb_multicart();

// A GBA image with a valid header and the given game code.
std::vector<uint8_t> gba_image(uint32_t size, const std::string& gameCode,
                               const std::string& title = "ZELVO TEST");

// A byte pattern that differs from bank to bank (for saves and flash images).
std::vector<uint8_t> pattern(uint32_t size, uint32_t seed);

}  // namespace romgen
