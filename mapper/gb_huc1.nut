// HuC-1: ROM bank at 0x2000 (6 bits), RAM bank at 0x4000 (2 bits). 0x0000
// takes 0x0E for the infrared port and any other value for RAM: there is no
// RAM disable, so a job ends in RAM mode with the light off.
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
