// GBA cartridges. ROM addresses are given in 16-bit words; the board
// performs the save memory's own protocol for the save type of the job.
//
// Natives: cpu_read(d, word address, length) for dumps (1 MiB per call at
// most), ram_read(d, address, length) and ram_write(d, address, length) for
// saves, gpio_write(d, offset, value, ...) and gpio_read(d, offset) for a
// clock on the cartridge's port (gba_clock.nut). Every native raises an error
// when it fails.

local here = getstackinfos(1).src;
local cut = here.len();
while (cut > 0 && here[cut - 1] != '/') cut--;
dofile(here.slice(0, cut) + "gba_clock.nut", true);

READ_CHUNK <- 0x100000;

function cpu_dump(d, size, unused) {
    for (local at = 0; at < size; at += READ_CHUNK) {
        local length = size - at < READ_CHUNK ? size - at : READ_CHUNK;
        cpu_read(d, at / 2, length);
    }
}

function save_dump(d, size, unused) { ram_read(d, 0, size); }

function save_write(d, size, unused) { ram_write(d, 0, size); }
