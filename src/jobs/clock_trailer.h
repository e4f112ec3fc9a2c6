// The clock trailer emulators append to the save of an MBC3 cartridge with a
// timer: five current registers, then five latched ones, each a 32-bit
// little-endian value, then the time of the read as a 64-bit little-endian UNIX
// timestamp (48 bytes; some emulators write a 32-bit one, 44 bytes).
#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

inline constexpr size_t kClockTrailerSize = 48;
inline constexpr size_t kClockTrailerShortSize = 44;
inline constexpr int kClockRegisterCount = 5;

struct ClockState {
    uint8_t regs[kClockRegisterCount] = {};  // seconds, minutes, hours, day low, day high
    int64_t time = 0;                        // UNIX seconds when the registers held
};

QByteArray clock_trailer(const uint8_t* regs, int64_t now);
// The trailer at data (kClockTrailerSize or kClockTrailerShortSize bytes);
// false otherwise, and for registers or a time no clock can hold, with why.
bool parse_clock_trailer(const uint8_t* data, size_t size, ClockState* state,
                         QString* why = nullptr);
// The registers seconds later, as the running clock counts (a halted clock stays;
// days past 511 wrap and set the carry bit).
void advance_clock(uint8_t* regs, int64_t seconds);
