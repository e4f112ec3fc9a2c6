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

namespace {

// Marks every 16 KiB bank with its number at its end and writes a valid
// header at base (type, sizes, checksums over the whole image).
void gb_finish(std::vector<uint8_t>& rom, uint32_t base, uint8_t type, uint8_t romCode,
               uint8_t ramCode, const std::string& title) {
    uint8_t* game = rom.data() + base;
    std::memset(game + 0x100, 0, 0x50);
    const uint8_t entry[4] = {0x00, 0xC3, 0x50, 0x01};
    std::memcpy(game + 0x100, entry, sizeof entry);
    std::memcpy(game + gb::kGbLogoOffset, gb::kGbLogo, gb::kGbLogoSize);
    std::memcpy(game + gb::kGbTitleOffset, title.data(), std::min<size_t>(title.size(), 15));
    game[gb::kGbTypeOffset] = type;
    game[gb::kGbRomCodeOffset] = romCode;
    game[gb::kGbRamCodeOffset] = ramCode;
    game[gb::kGbHeaderSumOffset] = gb::gb_header_sum(game);
    const uint16_t global = gb::gb_global_sum(game, 0x8000u << romCode);
    game[gb::kGbGlobalSumOffset] = uint8_t(global >> 8);
    game[gb::kGbGlobalSumOffset + 1] = uint8_t(global);
}

void number_banks(std::vector<uint8_t>& rom) {
    for (uint32_t bank = 0; bank < rom.size() / 0x4000; ++bank) {
        rom[bank * 0x4000 + 0x3FFE] = uint8_t(bank >> 8);
        rom[bank * 0x4000 + 0x3FFF] = uint8_t(bank);
    }
}

}  // namespace

std::vector<uint8_t> gb_image(uint8_t type, uint8_t romCode, uint8_t ramCode,
                              const std::string& title) {
    const uint32_t size = 0x8000u << romCode;
    std::vector<uint8_t> rom = pattern(size, type * 256u + romCode);
    number_banks(rom);
    gb_finish(rom, 0, type, romCode, ramCode, title);
    return rom;
}

std::vector<uint8_t> gb_multicart() {
    constexpr uint32_t kGame = 0x40000, kGames = 4;
    constexpr uint8_t kMbc1 = 0x01, kOneMiB = 5, kGameCode = 3;
    std::vector<uint8_t> rom = pattern(kGame * kGames, 0x3C);
    number_banks(rom);
    for (uint32_t g = 1; g < kGames; ++g)
        gb_finish(rom, g * kGame, kMbc1, kGameCode, 0, "GAME " + std::to_string(g));
    // The menu's header names the whole board; its sums come last, over all of it.
    gb_finish(rom, 0, kMbc1, kOneMiB, 0, "MENU");
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
