// The GB/GBC memory controllers, one row each: everything the program knows
// of a controller, read by the settings panel, the header decoder, the
// command line and the launch checks. A new controller is one row here and
// one mapper script.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "cart/clocks.h"

namespace gb {

inline constexpr uint32_t kKiB = 1024, kMiB = 1024 * 1024;

// A cartridge header type, with the name the Info report gives it.
struct HeaderType {
    uint8_t code;
    const char* name;
};
// The header types that select a controller.
struct HeaderTypes {
    const HeaderType* types;
    size_t count;
};
template <size_t N>
constexpr HeaderTypes types(const HeaderType (&list)[N]) {
    return {list, N};
}

// The header types whose clock travels with the save.
struct ClockTypes {
    const uint8_t* codes;
    size_t count;
};
template <uint8_t... Codes>
inline constexpr uint8_t kClockTypeCodes[] = {Codes...};
template <uint8_t... Codes>
constexpr ClockTypes clock_types() {
    return {kClockTypeCodes<Codes...>, sizeof...(Codes)};
}
constexpr ClockTypes no_clock_types() {
    return {nullptr, 0};
}

// A row's place in the panel's list is its index in mbc_table.
struct MbcRow {
    int code;             // the controller code of the settings and the header decoder
    const char* label;    // in the panel's list
    const char* script;   // mapper script in the folder beside the program
    const char* cliName;  // zelvo3-cli --mbc NAME
    HeaderTypes headerTypes;
    uint32_t maxRom;      // bytes of ROM the controller addresses
    uint32_t maxRam;      // bytes of save memory it addresses
    uint8_t saveMask;     // bits of each save byte the cartridge keeps
    bool fixedSave;       // the save is always maxRam bytes, whatever size is chosen
    uint32_t builtinRam;  // the save a header naming no RAM still has (MBC2's own)
    ClockKind clock;      // the clock the header types below carry, which travels with the save
    ClockTypes clockTypes;
};

inline constexpr HeaderType kNoneTypes[] = {
    {0x00, "ROM ONLY"},  {0x08, "ROM+RAM"},        {0x09, "ROM+RAM+BATTERY"},
    {0x0B, "ROM+MMMO1"}, {0x0C, "ROM+MMMO1+SRAM"}, {0x0D, "ROM+MMMO1+SRAM+BATT"}};
inline constexpr HeaderType kMbc1Types[] = {
    {0x01, "ROM+MBC1"}, {0x02, "ROM+MBC1+RAM"}, {0x03, "ROM+MBC1+RAM+BATT"}};
inline constexpr HeaderType kMbc2Types[] = {{0x05, "ROM+MBC2"}, {0x06, "ROM+MBC2+BATTERY"}};
inline constexpr HeaderType kMbc3Types[] = {{0x0F, "ROM+MBC3+TIMER+BATT"},
                                            {0x10, "ROM+MBC3+TIMER+RAM+BAT"},
                                            {0x11, "ROM+MBC3"},
                                            {0x12, "ROM+MBC3+RAM"},
                                            {0x13, "ROM+MBC3+RAM+BATT"}};
inline constexpr HeaderType kMbc5Types[] = {
    {0x15, "ROM+MBC4"},        {0x16, "ROM+MBC4+RAM"},         {0x17, "ROM+MBC4+RAM+BATTERY"},
    {0x19, "ROM+MBC5"},        {0x1A, "ROM+MBC5+RAM"},         {0x1B, "ROM+MBC5+RAM+BATT"},
    {0x1C, "ROM+MBC5+RUMBLE"}, {0x1D, "ROM+MBC5+RUMBLE+SRAM"}, {0x1E, "ROM+MBC5+RUMBLE+SRAM+BATT"},
    {0xFC, "POCKET CAMERA"}};
inline constexpr HeaderType kMbc7Types[] = {{0x22, "ROM+MBC7+BATT"}};
inline constexpr HeaderType kTama5Types[] = {{0xFD, "Bandai TAMA5"}};
inline constexpr HeaderType kHuc1Types[] = {{0xFF, "HuC1+RAM+BATTERY"}};
inline constexpr HeaderType kHuc3Types[] = {{0xFE, "Hudson HuC-3"}};
// Types with a name that no controller reads (the default one reads them).
inline constexpr HeaderType kUnreadTypes[] = {
    {0x1F, "Pocket Camera"}, {0x55, "GameGenie"}, {0x56, "GameShark V3.0"}};

// MBC1's script, which also reads MBC1 multicarts.
inline constexpr const char* kMbc1Script = "gb_mbc1.nut";

// MBC3 covers MBC30 (4 MiB of ROM, 64 KiB of RAM); RAM banks beyond select its
// clock. The MMM01 types read as no controller; MBC4 types and the Pocket
// Camera (0xFC: 16 RAM banks below its registers) as MBC5.
inline constexpr MbcRow mbc_table[] = {
    {0, "NONE", "gb_mbc0.nut", "none", types(kNoneTypes), 32 * kKiB, 8 * kKiB, 0xFF, false, 0,
     ClockKind::None, no_clock_types()},
    {1, "MBC1", kMbc1Script, "mbc1", types(kMbc1Types), 2 * kMiB, 32 * kKiB, 0xFF, false, 0,
     ClockKind::None, no_clock_types()},
    {2, "MBC2", "gb_mbc2.nut", "mbc2", types(kMbc2Types), 256 * kKiB, 512, 0x0F, false, 512,
     ClockKind::None, no_clock_types()},
    {3, "MBC3", "gb_mbc3.nut", "mbc3", types(kMbc3Types), 4 * kMiB, 64 * kKiB, 0xFF, false, 0,
     ClockKind::Mbc3, clock_types<0x0F, 0x10>()},
    {4, "MBC5", "gb_mbc5.nut", "mbc5", types(kMbc5Types), 8 * kMiB, 128 * kKiB, 0xFF, false, 0,
     ClockKind::None, no_clock_types()},
    {5, "MBC7", "gb_mbc7.nut", "mbc7", types(kMbc7Types), 2 * kMiB, 256, 0xFF, true, 0,
     ClockKind::None, no_clock_types()},
    {6, "TAMA5", "gb_tama5.nut", "tama5", types(kTama5Types), 1 * kMiB, 32, 0xFF, true, 0,
     ClockKind::Tama5, clock_types<0xFD>()},
    {7, "HuC-1", "gb_huc1.nut", "huc1", types(kHuc1Types), 1 * kMiB, 32 * kKiB, 0xFF, false, 0,
     ClockKind::None, no_clock_types()},
    {8, "HuC-3", "gb_huc3.nut", "huc3", types(kHuc3Types), 2 * kMiB, 128 * kKiB, 0xFF, false, 0,
     ClockKind::HuC3, clock_types<0xFE>()},
};

// The controller a fresh panel offers, and the one a header type no row
// names is read with: MBC5.
inline constexpr int kDefaultMbcPosition = 4;
// The controller code of a header type no row names.
inline constexpr int kUnknownMbc = -1;

// The clock a cartridge of this header type carries: its row's, when the
// type is among the row's clock types.
ClockKind clock_of_header_type(uint8_t type);

// The row with the given controller code, list position, header type or
// command-line name (any case); null when none has it.
const MbcRow* mbc_by_code(int code);
const MbcRow* mbc_row_at(int position);
const MbcRow* mbc_by_header_type(uint8_t type);
const MbcRow* mbc_by_cli_name(const char* name);
// A row's position in the panel's list: its index.
int mbc_position(const MbcRow* row);
// The name of a header type ("ROM+MBC5+RAM+BATT"); null for a type no table names.
const char* header_type_name(uint8_t type);
// The row whose mapper script has this file name.
const MbcRow* mbc_by_script(const char* fileName);

// The mapper script of the controller list row at position, or null.
const char* mbc_script_at(int position);

}  // namespace gb
