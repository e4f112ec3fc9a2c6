// MBC1: 5-bit low bank register at 0x2000, 2-bit high register at 0x4000
// (upper ROM bank bits or RAM bank), mode register at 0x6000.
local here = getstackinfos(1).src;
local cut = here.len();
while (cut > 0 && here[cut - 1] != '/') cut--;
dofile(here.slice(0, cut) + "gb_common.nut", true);

// Banks 0x20, 0x40 and 0x60 turn into 0x21, 0x41 and 0x61 in the switchable
// window; the advanced mode shows them at 0x0000 instead. transfer(address,
// length) reads or programs the bank that is shown at address.
function each_rom_bank(d, size, transfer) {
    transfer(0x0000, min(ROM_BANK, size));
    for (local n = 1; n < bank_count(size, ROM_BANK); n++) {
        local low = n & 0x1F, high = n >> 5;
        local length = min(ROM_BANK, size - n * ROM_BANK);
        if (low == 0) {
            cpu_write(d, 0x6000, 1, 0x4000, high);
            transfer(0x0000, length);
            cpu_write(d, 0x6000, 0, 0x4000, 0);
        } else {
            cpu_write(d, 0x4000, high, 0x2000, low);
            transfer(ROM_BANK, length);
        }
    }
    cpu_write(d, 0x4000, 0, 0x2000, 1);
}

// A multicart (multicart(d) says so) reads every bank through 0x4000: bit 4
// of the lower register is not wired but still defeats the 0 to 1 step, and
// the upper register picks the 256 KiB game.
function cpu_dump(d, size, unused) {
    if (multicart(d)) {
        for (local n = 0; n < bank_count(size, ROM_BANK); n++) {
            cpu_write(d, 0x4000, n >> 4, 0x2000, 0x10 | (n & 0x0F));
            cpu_read(d, ROM_BANK, ROM_BANK);
        }
        cpu_write(d, 0x4000, 0, 0x2000, 1);
        return;
    }
    each_rom_bank(d, size, function(address, length) { cpu_read(d, address, length); });
}

// RAM banks are only selectable in the advanced mode.
function select_ram(d) {
    return function(b) { cpu_write(d, 0x6000, 1, 0x4000, b); };
}

function save_dump(d, size, unused) {
    read_ram(d, size, select_ram(d));
    cpu_write(d, 0x6000, 0, 0x4000, 0);
}

function save_write(d, size, unused) {
    write_ram(d, size, select_ram(d));
    cpu_write(d, 0x6000, 0, 0x4000, 0);
}

function cpu_erase(d, size, wide16) { flash_erase(d, wide16); }

function cpu_flash(d, size, unused) {
    each_rom_bank(d, size, function(address, length) { rom_write(d, address, length); });
}
