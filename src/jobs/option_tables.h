// The settings' option tables: list position, value and label of every choice.
#pragma once

#include <cstddef>
#include <cstdint>

#include "cart/controllers.h"
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

// The controllers' table lives with the cartridge facts; the panel lists it.
using gb::kDefaultMbcPosition;
using gb::kKiB;
using gb::kMiB;
using gb::mbc_by_code;
using gb::mbc_row_at;
using gb::mbc_script_at;
using gb::mbc_table;
using gb::MbcRow;

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

// The row of a table holding value, or null.
template <typename Row, size_t N>
const Row* option_by_value(const Row (&table)[N], int value) {
    for (const Row& row : table)
        if (row.value == value) return &row;
    return nullptr;
}

// First save-size row offered for a save type, -1 for an unknown type.
int save_base_for(int saveType);
