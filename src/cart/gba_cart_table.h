// The built-in GBA cartridge database: fixed-width, zero-terminated text fields.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gb {

struct gba_cart_row {
    char title[140];
    char year[10];
    char publisher[30];
    char serial[40];
    char rom_size[10];
    char save_kind[20];
};
static_assert(sizeof(gba_cart_row) == 250, "database rows are 250 bytes");

extern const gba_cart_row gba_cart_table[];
extern const size_t gba_cart_count;

// The rows, by index in ascending order, of cartridges with a clock on their port.
extern const uint16_t gba_clock_rows[];
extern const size_t gba_clock_row_count;

}  // namespace gb
