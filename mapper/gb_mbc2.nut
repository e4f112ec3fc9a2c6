// MBC2: one register window at 0x0000-0x3FFF where address bit 8 chooses the
// register (clear: RAM enable, set: ROM bank), and 512 half-bytes of RAM.
local here = getstackinfos(1).src;
local cut = here.len();
while (cut > 0 && here[cut - 1] != '/') cut--;
dofile(here.slice(0, cut) + "gb_common.nut", true);

MBC2_RAM <- 512;  // one half-byte per address; a save file holds one per byte

function cpu_dump(d, size, unused) {
    dump_banks(d, size, function(n) { cpu_write(d, 0x2100, n); });
}

function check_ram(size) {
    if (size != MBC2_RAM) throw "MBC2 holds 512 half-bytes of save memory: choose the RAM size 512 B.";
}

function save_dump(d, size, unused) {
    check_ram(size);
    with_ram(d, function() { cpu_read(d, RAM_WINDOW, MBC2_RAM); });
}

function save_write(d, size, unused) {
    check_ram(size);
    with_ram(d, function() { ram_write(d, RAM_WINDOW, MBC2_RAM); });
}
