// The cartridge clocks whose registers travel with the save.
#pragma once

#include <cstdint>

namespace gb {

enum class ClockKind {
    None,
    Mbc3,    // seconds, minutes, hours, day low, day high (halt and carry bits)
    HuC3,    // six nibbles: minute of day (3), day counter (3), least significant first
    GbaRtc,  // Seiko S-3511 on the GBA cartridge port: seven BCD bytes (year first), status
    Tama5,   // the TAMA6's timer page: 13 BCD nibbles, second units first to year tens
};

// How many registers a mapper script's rtc_read returns and rtc_write takes.
inline constexpr int kMaxClockRegisters = 13;
constexpr int clock_register_count(ClockKind kind) {
    switch (kind) {
        case ClockKind::Mbc3:
            return 5;
        case ClockKind::HuC3:
            return 6;
        case ClockKind::GbaRtc:
            return 8;
        case ClockKind::Tama5:
            return 13;
        case ClockKind::None:
            break;
    }
    return 0;
}

}  // namespace gb
