#include "romgen.h"

#include <algorithm>
#include <cstring>

#include "cart/checksums.h"
#include "cart/header.h"

namespace romgen {

std::vector<uint8_t> pattern(uint32_t size, uint32_t seed) {
    std::vector<uint8_t> out(size);
    uint32_t x = seed * 2654435761u + 12345u;
    for (uint32_t i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        out[i] = uint8_t(x >> 16);
    }
    return out;
}

std::vector<uint8_t> gb_image(uint8_t type, uint8_t romCode, uint8_t ramCode,
                              const std::string& title) {
    const uint32_t size = 0x8000u << romCode;
    std::vector<uint8_t> rom = pattern(size, type * 256u + romCode);
    for (uint32_t bank = 0; bank < size / 0x4000; ++bank) {
        // The bank number at the start and end of every bank.
        rom[bank * 0x4000 + 0x3FFE] = uint8_t(bank >> 8);
        rom[bank * 0x4000 + 0x3FFF] = uint8_t(bank);
    }
    std::memset(&rom[0x100], 0, 0x50);
    const uint8_t entry[4] = {0x00, 0xC3, 0x50, 0x01};
    std::memcpy(&rom[0x100], entry, sizeof entry);
    std::memcpy(&rom[gb::kGbLogoOffset], gb::kGbLogo, gb::kGbLogoSize);
    std::memcpy(&rom[gb::kGbTitleOffset], title.data(), std::min<size_t>(title.size(), 15));
    rom[gb::kGbTypeOffset] = type;
    rom[gb::kGbRomCodeOffset] = romCode;
    rom[gb::kGbRamCodeOffset] = ramCode;
    rom[gb::kGbHeaderSumOffset] = gb::gb_header_sum(rom.data());
    const uint16_t global = gb::gb_global_sum(rom.data(), rom.size());
    rom[gb::kGbGlobalSumOffset] = uint8_t(global >> 8);
    rom[gb::kGbGlobalSumOffset + 1] = uint8_t(global);
    return rom;
}

std::vector<uint8_t> gba_image(uint32_t size, const std::string& gameCode,
                               const std::string& title) {
    constexpr uint32_t kHeaderEnd = 0xC0;
    // The header is written whole: a smaller size still gets it.
    std::vector<uint8_t> rom = pattern(std::max(size, kHeaderEnd), size ^ 0x5A5A);
    std::memset(rom.data(), 0, kHeaderEnd);
    const uint8_t branch[4] = {0x2E, 0x00, 0x00, 0xEA};
    std::memcpy(rom.data(), branch, sizeof branch);
    std::memcpy(&rom[gb::kGbaLogoOffset], gb::kGbaLogo, gb::kGbaLogoSize);
    std::memcpy(&rom[0xA0], title.data(), std::min<size_t>(title.size(), 12));
    std::memcpy(&rom[gb::kGbaCodeOffset], gameCode.data(),
                std::min<size_t>(gameCode.size(), gb::kGbaCodeSize));
    rom[0xB0] = '0';
    rom[0xB1] = '1';
    rom[gb::kGbaFixedOffset] = gb::kGbaFixedValue;
    rom[gb::kGbaComplementOffset] = gb::gba_complement(rom.data());
    return rom;
}

}  // namespace romgen
