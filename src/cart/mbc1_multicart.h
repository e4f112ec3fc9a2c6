// MBC1 multicarts: a 1 MiB compilation board whose MBC1 is wired so that four
// games of 256 KiB each start at banks 0x00, 0x10, 0x20 and 0x30. The upper
// bank register drives ROM A18-A19 and bit 4 of the lower one is not
// connected, so a plain MBC1 dump reads the banks in the wrong order.
#pragma once

#include <cstdint>

namespace gb {

inline constexpr uint32_t kMulticartSize = 0x100000;
inline constexpr uint32_t kMulticartGameBanks = 16;  // banks of one game, 256 KiB

enum class Multicart {
    No,
    Yes,
    Unsure,  // one sign of the wiring without the other: read as a plain MBC1
};

// Asks the cartridge (its header is the one given, 0x150 bytes at least):
// only a 1 MiB MBC1 cartridge can be one. With the wiring, bank 0x10 reads as
// bank 0 and the second game's logo shows at 0x4104 once the upper register
// selects it. Leaves the cartridge at bank 1 and the upper register at 0.
Multicart mbc1_multicart(const uint8_t* header);

}  // namespace gb
