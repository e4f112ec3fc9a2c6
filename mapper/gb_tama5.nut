// Bandai TAMA5: every register sits behind a select port at 0xA001 and a
// data port at 0xA000 that carry 4 bits each.
local here = getstackinfos(1).src;
local cut = here.len();
while (cut > 0 && here[cut - 1] != '/') cut--;
dofile(here.slice(0, cut) + "gb_common.nut", true);

TAMA5_SELECT <- 0xA001;
TAMA5_DATA <- 0xA000;
TAMA5_UNLOCK <- 0x0A;

function cpu_dump(d, size, unused) {
    cpu_write(d, TAMA5_SELECT, TAMA5_UNLOCK);
    dump_banks(d, size, function(n) {
        cpu_write(d, TAMA5_SELECT, 0, TAMA5_DATA, n & 0x0F, TAMA5_SELECT, 1, TAMA5_DATA, n >> 4);
    });
}

function save_dump(d, size, unused) { unsupported_save("TAMA5 (4-bit register)"); }
function save_write(d, size, unused) { unsupported_save("TAMA5 (4-bit register)"); }
