// A check of the cartridge's contacts before a long job: the header area read
// several times; stable contacts read it the same every time.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

inline constexpr int kContactReads = 8;

struct ContactCheck {
    bool read = false;    // every read arrived
    bool stable = false;  // and all were the same
    QString line;         // what the log says
};

// Reads the header area of the system the board is in kContactReads times;
// the header the cartridge was detected by (at least the header area, or
// empty) counts as one more read: a header that read differently then is not
// stable either.
ContactCheck check_contacts(bool gba, const std::vector<uint8_t>& detected = {});
