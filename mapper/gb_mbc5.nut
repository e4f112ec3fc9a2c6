// MBC5: 9-bit ROM bank (low byte at 0x2000, bit 8 at 0x3000), 4-bit RAM bank
// at 0x4000. Bank 0 is selectable in the switchable window.
local here = getstackinfos(1).src;
local cut = here.len();
while (cut > 0 && here[cut - 1] != '/') cut--;
dofile(here.slice(0, cut) + "gb_common.nut", true);

// The high bit goes first: some controllers decode both addresses as one
// register, and the low byte written last then wins.
function select_rom(d) {
    return function(n) { cpu_write(d, 0x3000, n >> 8, 0x2000, n & 0xFF); };
}

function cpu_dump(d, size, unused) {
    dump_banks(d, size, select_rom(d));
    cpu_write(d, 0x3000, 0, 0x2000, 1);
}

// Bit 3 of the RAM bank drives the motor on rumble cartridges: 8 banks at most.
function select_ram(d) {
    return function(b) { cpu_write(d, 0x4000, b & 0x0F); };
}

function save_dump(d, size, unused) {
    read_ram(d, size, select_ram(d));
    cpu_write(d, 0x4000, 0);
}

function save_write(d, size, unused) {
    write_ram(d, size, select_ram(d));
    cpu_write(d, 0x4000, 0);
}

function cpu_erase(d, size, wide16) { flash_erase(d, wide16); }

function cpu_flash(d, size, unused) {
    flash_banks(d, size, select_rom(d));
    cpu_write(d, 0x3000, 0, 0x2000, 1);
}
