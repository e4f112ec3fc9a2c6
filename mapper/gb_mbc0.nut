// Cartridges without a memory controller: the ROM and RAM are on the bus as they are.
local here = getstackinfos(1).src;
local cut = here.len();
while (cut > 0 && here[cut - 1] != '/') cut--;
dofile(here.slice(0, cut) + "gb_common.nut", true);

function cpu_dump(d, size, unused) {
    cpu_read(d, 0x0000, size);
}

function save_dump(d, size, unused) {
    cpu_read(d, RAM_WINDOW, size);
}

function save_write(d, size, unused) {
    ram_write(d, RAM_WINDOW, size);
}

function cpu_erase(d, size, wide16) {
    flash_erase(d, wide16);
}

function cpu_flash(d, size, unused) {
    flash_banks(d, size, function(n) {});
}
