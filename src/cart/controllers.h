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

// The cartridge header types that select a controller.
struct HeaderTypes {
    const uint8_t* codes;
    size_t count;
};
template <uint8_t... Codes>
inline constexpr uint8_t kHeaderTypeCodes[] = {Codes...};
template <uint8_t... Codes>
constexpr HeaderTypes types() {
    return {kHeaderTypeCodes<Codes...>, sizeof...(Codes)};
}
constexpr HeaderTypes no_types() {
    return {nullptr, 0};
}

struct MbcRow {
    int position;         // in the panel's controller list
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
    HeaderTypes clockTypes;
};

// MBC1's script, which also reads MBC1 multicarts.
inline constexpr const char* kMbc1Script = "gb_mbc1.nut";

// MBC3 covers MBC30 (4 MiB of ROM, 64 KiB of RAM); RAM banks beyond select its
// clock. The MMM01 types read as no controller; MBC4 types and the Pocket
// Camera (0xFC: 16 RAM banks below its registers) as MBC5.
inline constexpr MbcRow mbc_table[] = {
    {0, 0, "NONE", "gb_mbc0.nut", "none", types<0x00, 0x08, 0x09, 0x0B, 0x0C, 0x0D>(), 32 * kKiB,
     8 * kKiB, 0xFF, false, 0, ClockKind::None, no_types()},
    {1, 1, "MBC1", kMbc1Script, "mbc1", types<0x01, 0x02, 0x03>(), 2 * kMiB, 32 * kKiB, 0xFF, false,
     0, ClockKind::None, no_types()},
    {2, 2, "MBC2", "gb_mbc2.nut", "mbc2", types<0x05, 0x06>(), 256 * kKiB, 512, 0x0F, false, 512,
     ClockKind::None, no_types()},
    {3, 3, "MBC3", "gb_mbc3.nut", "mbc3", types<0x0F, 0x10, 0x11, 0x12, 0x13>(), 4 * kMiB,
     64 * kKiB, 0xFF, false, 0, ClockKind::Mbc3, types<0x0F, 0x10>()},
    {4, 4, "MBC5", "gb_mbc5.nut", "mbc5",
     types<0x15, 0x16, 0x17, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0xFC>(), 8 * kMiB, 128 * kKiB,
     0xFF, false, 0, ClockKind::None, no_types()},
    {5, 5, "MBC7", "gb_mbc7.nut", "mbc7", types<0x22>(), 2 * kMiB, 256, 0xFF, true, 0,
     ClockKind::None, no_types()},
    {6, 6, "TAMA5", "gb_tama5.nut", "tama5", types<0xFD>(), 1 * kMiB, 32, 0xFF, true, 0,
     ClockKind::Tama5, types<0xFD>()},
    {7, 7, "HuC-1", "gb_huc1.nut", "huc1", types<0xFF>(), 1 * kMiB, 32 * kKiB, 0xFF, false, 0,
     ClockKind::None, no_types()},
    {8, 8, "HuC-3", "gb_huc3.nut", "huc3", types<0xFE>(), 2 * kMiB, 128 * kKiB, 0xFF, false, 0,
     ClockKind::HuC3, types<0xFE>()},
};

// The controller a fresh panel offers, and the one a header type no row
// names is read with: MBC5.
inline constexpr int kDefaultMbcPosition = 4;

// The clock a cartridge of this header type carries: its row's, when the
// type is among the row's clock types.
ClockKind clock_of_header_type(uint8_t type);

// The row with the given controller code, list position, header type or
// command-line name (any case); null when none has it.
const MbcRow* mbc_by_code(int code);
const MbcRow* mbc_row_at(int position);
const MbcRow* mbc_by_header_type(uint8_t type);
const MbcRow* mbc_by_cli_name(const char* name);
// The row whose mapper script has this file name.
const MbcRow* mbc_by_script(const char* fileName);

// The mapper script of the controller list row at position, or null.
const char* mbc_script_at(int position);

}  // namespace gb
