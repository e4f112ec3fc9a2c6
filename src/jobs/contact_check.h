// A check of the cartridge's contacts before a long job: the header area read
// several times; stable contacts read it the same every time.
#pragma once

#include <QString>

inline constexpr int kContactReads = 8;

struct ContactCheck {
    bool read = false;    // every read arrived
    bool stable = false;  // and all were the same
    QString line;         // what the log says
};

// Reads the header area of the system the board is in kContactReads times.
ContactCheck check_contacts(bool gba);
