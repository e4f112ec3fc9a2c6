// MBC2: one register window at 0x0000-0x3FFF where address bit 8 chooses the
// register (clear: RAM enable, set: ROM bank), and RAM of half-bytes, one per
// address (a save file holds one per byte).
local here = getstackinfos(1).src;
local cut = here.len();
while (cut > 0 && here[cut - 1] != '/') cut--;
dofile(here.slice(0, cut) + "gb_common.nut", true);

function cpu_dump(d, size, unused) {
    dump_banks(d, size, function(n) { cpu_write(d, 0x2100, n); });
}

function save_dump(d, size, unused) {
    with_ram(d, function() { cpu_read(d, RAM_WINDOW, size); });
}

function save_write(d, size, unused) {
    with_ram(d, function() { ram_write(d, RAM_WINDOW, size); });
}
