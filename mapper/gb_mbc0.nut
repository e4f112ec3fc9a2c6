// Cartridges without a memory controller: 32 KiB of ROM, up to 8 KiB of RAM.
local here = getstackinfos(1).src;
local cut = here.len();
while (cut > 0 && here[cut - 1] != '/') cut--;
dofile(here.slice(0, cut) + "gb_common.nut", true);

PLAIN_ROM <- 0x8000;

function check_rom(size) {
    if (size > PLAIN_ROM)
        throw "A cartridge without a controller holds at most 32 KiB of ROM: choose 256 Kbit.";
}

function check_ram(size) {
    if (size > RAM_BANK)
        throw "A cartridge without a controller holds at most 8 KiB of RAM: choose 8 K or less.";
}

function cpu_dump(d, size, unused) {
    check_rom(size);
    cpu_read(d, 0x0000, size);
}

function save_dump(d, size, unused) {
    check_ram(size);
    cpu_read(d, RAM_WINDOW, size);
}

function save_write(d, size, unused) {
    check_ram(size);
    ram_write(d, RAM_WINDOW, size);
}

// The size is checked before the erase: a refused image leaves the chip as it was.
function cpu_erase(d, size, wide16) {
    check_rom(size);
    flash_erase(d, wide16);
}

function cpu_flash(d, size, unused) {
    check_rom(size);
    flash_banks(d, size, function(n) {});
}
