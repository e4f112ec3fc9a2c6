// The clock trailers emulators append to the save of a cartridge with a clock,
// in mGBA's layouts:
// - MBC3: five current registers, then five latched ones, each a 32-bit
//   little-endian value, then the time of the read as a 64-bit little-endian
//   UNIX timestamp (48 bytes; some emulators write a 32-bit one, 44 bytes);
// - HuC-3: the clock chip's 256 nibbles packed two to a byte (the minute and
//   day counters at nibbles 0x10-0x15), then the 64-bit time (0x88 bytes);
// - GBA clock: the seven date and time bytes (BCD, year first), the status
//   byte, then the 64-bit time (16 bytes);
// - TAMA5: the TAMA6's four pages of 16 nibbles two to a byte, the timer page
//   first, then the 64-bit time (40 bytes).
#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

#include "cart/clocks.h"

inline constexpr size_t kClockTrailerSize = 48;
inline constexpr size_t kClockTrailerShortSize = 44;
inline constexpr int kClockRegisterCount = gb::clock_register_count(gb::ClockKind::Mbc3);
inline constexpr size_t kHuC3TrailerSize = 0x88;
inline constexpr size_t kGbaClockTrailerSize = 16;
inline constexpr size_t kTama5TrailerSize = 40;

struct ClockState {
    gb::ClockKind kind = gb::ClockKind::Mbc3;
    uint8_t regs[gb::kMaxClockRegisters] = {};
    int64_t time = 0;    // UNIX seconds when the registers held
    bool unset = false;  // the trailer holds no date: the game never set the clock
};

// Whether a trailer of size bytes belongs to a clock of this kind.
bool clock_trailer_fits(gb::ClockKind kind, size_t size);
// Every trailer size a save file may carry, of any kind.
const size_t* clock_trailer_sizes(size_t* count);

QByteArray clock_trailer(gb::ClockKind kind, const uint8_t* regs, int64_t now);
// The trailer at data; false for one of another size, and for registers or a
// time no clock can hold, with why.
bool parse_clock_trailer(gb::ClockKind kind, const uint8_t* data, size_t size, ClockState* state,
                         QString* why = nullptr);
// The registers seconds later, as the running clock counts (a halted MBC3
// clock stays; MBC3 days past 511 wrap and set the carry bit, HuC-3 days past
// 4095 wrap).
void advance_clock(gb::ClockKind kind, uint8_t* regs, int64_t seconds);
// The clock as a user reads it: "day 5, 10:20:30", "2024-03-01 10:20:30";
// a date that is none shows as the numbers it holds.
QString clock_text(gb::ClockKind kind, const uint8_t* regs);
// A halted clock does not run on.
bool clock_halted(gb::ClockKind kind, const uint8_t* regs);
// The clock's own word that its battery ran out since it was set (the GBA clock's).
bool clock_lost_power(gb::ClockKind kind, const uint8_t* regs);
