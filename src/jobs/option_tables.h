// The settings' option tables: list position, value and label of every choice.
#pragma once

#include <cstddef>
#include <cstdint>

#include "cart/header.h"

struct OptionRow {
    int position;
    int value;  // a code, a type or a byte count
    const char* label;
};

// The folder beside the program that holds the mapper scripts.
inline constexpr const char* kMapperFolder = "mapper";
// The mapper script of GBA cartridges.
inline constexpr const char* kGbaScript = "gba.nut";

struct MbcRow {
    int position;
    int code;
    const char* label;
    const char* script;  // mapper script in the folder kMapperFolder beside the program
    uint32_t maxRom;     // bytes of ROM the controller addresses
    uint32_t maxRam;     // bytes of save memory it addresses
    uint8_t saveMask;    // bits of each save byte the cartridge keeps
    bool fixedSave;      // the save is always maxRam bytes, whatever size is chosen
};

inline constexpr uint32_t kKiB = 1024, kMiB = 1024 * 1024;

// MBC3 covers MBC30 (4 MiB of ROM, 64 KiB of RAM); RAM banks beyond select its clock.
inline constexpr MbcRow mbc_table[] = {
    {0, gb::kMbcNone, "NONE", "gb_mbc0.nut", 32 * kKiB, 8 * kKiB, 0xFF, false},
    {1, gb::kMbc1, "MBC1", "gb_mbc1.nut", 2 * kMiB, 32 * kKiB, 0xFF, false},
    {2, gb::kMbc2, "MBC2", "gb_mbc2.nut", 256 * kKiB, 512, 0x0F, false},  // 512 half-bytes
    {3, gb::kMbc3, "MBC3", "gb_mbc3.nut", 4 * kMiB, 64 * kKiB, 0xFF, false},
    {4, gb::kMbc5, "MBC5", "gb_mbc5.nut", 8 * kMiB, 128 * kKiB, 0xFF, false},
    {5, gb::kMbc7, "MBC7", "gb_mbc7.nut", 2 * kMiB, 256, 0xFF, true},  // 93LC56 EEPROM
    {6, gb::kTama5, "TAMA5", "gb_tama5.nut", 1 * kMiB, 32, 0xFF, true},
};

inline constexpr OptionRow gb_rom_table[] = {
    {0, 32768, "256 Kbit"},  {1, 65536, "512 Kbit"},  {2, 131072, "1 Mbit"},
    {3, 262144, "2 Mbit"},   {4, 524288, "4 Mbit"},   {5, 1048576, "8 Mbit"},
    {6, 2097152, "16 Mbit"}, {7, 4194304, "32 Mbit"}, {8, 8388608, "64 Mbit"},
};

inline constexpr OptionRow gb_ram_table[] = {
    {0, 512, "512 B"},  {1, 8192, "8 K"},     {2, 32768, "32 K"},
    {3, 65536, "64 K"}, {4, 131072, "128 K"},
};

inline constexpr OptionRow gba_rom_table[] = {
    {0, 1048576, "8 Mb"},    {1, 2097152, "16 Mb"},   {2, 4194304, "32 Mb"},
    {3, 8388608, "64 Mb"},   {4, 16777216, "128 Mb"}, {5, 33554432, "256 Mb"},
    {6, 67108864, "512 Mb"},
};

inline constexpr OptionRow gba_ram_type_table[] = {
    {0, 0, "SRAM"},
    {1, 1, "FLASH"},
    {2, 2, "EEP"},
};

// GBA save sizes, offered two at a time from the row savBase on (EEP 0, SRAM 2, FLASH 3).
inline constexpr OptionRow gba_save_table[] = {
    {0, 512, "512 B"},  {1, 8192, "8 K"},     {2, 32768, "32 K"},
    {3, 65536, "64 K"}, {4, 131072, "128 K"},
};
inline constexpr int kSaveChoices = 2;

inline constexpr OptionRow sys_table[] = {
    {0, 0, "GB/GBC"},
    {1, 1, "GBA"},
};

enum SystemCode { kSysGb = 0, kSysGba = 1 };

// The controller a fresh GB panel offers: MBC5.
inline constexpr int kDefaultMbcPosition = 4;

// The row of a table holding value, or null.
template <typename Row, size_t N>
const Row* option_by_value(const Row (&table)[N], int value) {
    for (const Row& row : table)
        if (row.value == value) return &row;
    return nullptr;
}

// The controller row with the given code, or null.
const MbcRow* mbc_by_code(int code);

// First save-size row offered for a save type, -1 for an unknown type.
int save_base_for(int saveType);

// The controller list row at position, or null.
const MbcRow* mbc_row_at(int position);
// The mapper script of the controller list row at position, or null.
const char* mbc_script_at(int position);
