// GB/GBC and GBA cartridge header decoding.
#pragma once

#include <QString>
#include <cstdint>

namespace gb {

struct gb_pcb {
    QString title;
    QString cart_type;
    uint32_t rom_size = 0;
    uint32_t ram_size = 0;
    int32_t mbc_type = 0;
};

struct gba_pcb {
    QString title;
    QString year;
    QString publisher;
    QString serial;
    int32_t rom_size = 0;
    uint32_t sav_size = 0;
    int32_t sav_type = 0;
    bool rtc = false;  // the database marks a clock on the cartridge's port
};

// Header offsets and sizes.
inline constexpr uint32_t kGbLogoOffset = 0x104;
inline constexpr uint32_t kGbLogoSize = 48;
// A GB ROM bank: bank 0 at bus 0x0000, the switchable bank at bus 0x4000.
inline constexpr uint32_t kGbRomBank = 0x4000;
// A GB save RAM bank, at bus 0xA000.
inline constexpr uint32_t kGbRamBank = 0x2000;
inline constexpr uint32_t kGbTitleOffset = 0x134;
inline constexpr uint32_t kGbTitleSize = 16;
inline constexpr uint32_t kGbCgbFlagOffset = 0x143;  // bit 7: a Game Boy Color cartridge
inline constexpr uint8_t kGbCgbFlag = 0x80;
inline constexpr uint32_t kGbTypeOffset = 0x147;
inline constexpr uint32_t kGbRomCodeOffset = 0x148;
inline constexpr uint32_t kGbRamCodeOffset = 0x149;
inline constexpr uint32_t kGbaLogoOffset = 0x04;
inline constexpr uint32_t kGbaLogoSize = 156;
inline constexpr uint32_t kGbaTitleOffset = 0xA0;
inline constexpr uint32_t kGbaTitleSize = 12;
inline constexpr uint32_t kGbaCodeOffset = 0xAC;
inline constexpr uint32_t kGbaCodeSize = 4;
// Where each header ends: GB after its global checksum, GBA after its fixed part.
inline constexpr uint32_t kGbHeaderEnd = 0x150;
inline constexpr uint32_t kGbaHeaderEnd = 0xC0;

// Bytes read from the start of a cartridge for identification.
inline constexpr uint32_t kHeaderReadSize = 8192;

extern const uint8_t kGbLogo[kGbLogoSize];
extern const uint8_t kGbaLogo[kGbaLogoSize];

// True, with all fields written, when the GB logo matches.
bool gb_cartridge_info(const unsigned char* header, gb_pcb* pcb);

// True when the GBA logo matches; the record is filled when the game code is
// in the database (rom_size nonzero exactly then).
bool gba_cartridge_info(const unsigned char* header, gba_pcb* pcb);

}  // namespace gb
