// MBC3 (and MBC30): 7-bit (8-bit on MBC30) ROM bank at 0x2000, RAM bank at
// 0x4000; the clock registers are left alone.
local here = getstackinfos(1).src;
local cut = here.len();
while (cut > 0 && here[cut - 1] != '/') cut--;
dofile(here.slice(0, cut) + "gb_common.nut", true);

function cpu_dump(d, size, unused) {
    dump_banks(d, size, function(n) { cpu_write(d, 0x2000, n); });
    cpu_write(d, 0x2000, 1);
}

function select_ram(d) {
    return function(b) { cpu_write(d, 0x4000, b); };
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
    flash_banks(d, size, function(n) { cpu_write(d, 0x2000, n); });
}
