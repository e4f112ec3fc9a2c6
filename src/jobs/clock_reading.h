// The clock of the cartridge in the slot: which kind it has, and what it
// reads, through its mapper script.
#pragma once

#include <QString>

#include "cart/clocks.h"

// The clock of the cartridge in the slot, from its header (GB), the database
// or, for a cartridge the database does not know, its port (GBA). header: its
// first kMinTransfer bytes at least, or null when they could not be read. The
// board is in the system's mode.
gb::ClockKind clock_of_cartridge(bool gba, const uint8_t* header);

struct ClockReading {
    bool ok = false;
    QString text;  // as clock_text shows it
    bool lostPower = false;
    QString failure;  // why it could not be read
};

// Runs the script's rtc_read alone.
ClockReading read_cartridge_clock(const QString& script, gb::ClockKind kind, bool gba);
