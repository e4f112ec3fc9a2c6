// The flash chips of rewritable GB cartridges: how one is asked what it is,
// and the chips known by their autoselect IDs (older 5 V parts answer no
// common-flash-interface query, so their ID is all that tells their size).
#pragma once

#include <cstdint>

namespace gb {

struct FlashChip {
    uint8_t manufacturer;
    uint8_t device;
    uint32_t size;
    const char* name;
};

// Parts seen on GB flash cartridges (datasheets; byte-mode device IDs).
inline constexpr FlashChip kFlashChips[] = {
    {0x01, 0x20, 0x20000, "Am29F010"},    {0x01, 0xA4, 0x80000, "Am29F040B"},
    {0x01, 0xD5, 0x100000, "Am29F080"},   {0x01, 0xAD, 0x200000, "Am29F016"},
    {0x04, 0xAD, 0x200000, "MBM29F016"},  {0x01, 0x41, 0x400000, "Am29F032B"},
    {0xC2, 0xAD, 0x200000, "MX29F016"},   {0xBF, 0xB5, 0x20000, "SST39SF010A"},
    {0xBF, 0xB6, 0x40000, "SST39SF020A"}, {0xBF, 0xB7, 0x80000, "SST39SF040"},
};

// The known chip with these IDs, or null.
const FlashChip* flash_chip_by_id(uint8_t manufacturer, uint8_t device);

// What the chip on the cartridge told about itself.
struct FlashIdentity {
    bool wide16 = false;                   // a 16-bit chip in byte mode (its query answers at 0xAA)
    bool query = false;                    // it answered the common-flash-interface query
    int sizeExponent = 0;                  // the query's size field: 2^n bytes
    uint8_t manufacturer = 0, device = 0;  // autoselect IDs (8-bit chips without a query)
    bool answered = false;                 // the ID command changed what the bus shows
    uint32_t size = 0;                     // bytes, 0 when it could not be learnt
    const char* name = nullptr;            // a known chip's part name
};

// Asks the GB flash chip through the bus: the query in byte mode (16-bit
// chips), then the 8-bit query, then the 8-bit autoselect IDs; every probe
// ends with a reset to reading the array. A cartridge that answers neither
// the query nor the ID command (query and answered false) has no flash chip.
FlashIdentity identify_flash_chip();

}  // namespace gb
