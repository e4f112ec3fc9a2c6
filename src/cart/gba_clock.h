// The Seiko S-3511 clock some GBA cartridges carry on the port in their ROM
// chip (Pokémon Ruby, Sapphire and Emerald, Boktai and others): three 16-bit
// registers in the cartridge space, a serial line to the clock behind them.
#pragma once

#include <cstdint>

namespace gb {

// The port's registers, as offsets in the cartridge space.
inline constexpr uint32_t kGpioData = 0xC4;       // bit 0 SCK, bit 1 SIO, bit 2 CS
inline constexpr uint32_t kGpioDirection = 0xC6;  // 1: the GBA drives the pin
inline constexpr uint32_t kGpioControl = 0xC8;    // 1: the registers can be read

// Whether a clock's port answers on the cartridge: with the port readable and
// every pin driven, its registers read back what was set and differ from the
// ROM bytes beneath them. Only asked of a cartridge the database does not know,
// since the writes could reach a flash chip.
bool gba_clock_present();

}  // namespace gb
