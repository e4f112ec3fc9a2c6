// Helpers shared by the GB/GBC mapper scripts.
//
// Natives (bound by the host for the job at hand, each taking the job handle d
// first): cpu_read(d, address, length), cpu_write(d, address, value, ...),
// ram_write(d, address, length), rom_write(d, address, length),
// rom_flash_cfg(d, mode); for bit-level protocols cpu_read_byte(d, address),
// which returns the byte, and buffer_put(d, value) (reads) and buffer_take(d)
// (writes), which store or fetch one save byte at the running total. Every
// native raises an error when it fails.

ROM_BANK <- 0x4000;       // switchable ROM window 0x4000-0x7FFF
RAM_BANK <- 0x2000;       // cartridge RAM window 0xA000-0xBFFF
RAM_WINDOW <- 0xA000;
RAM_ENABLE <- 0x0000;
RAM_ON <- 0x0A;           // exactly 0x0A: some controllers compare the whole byte
RAM_OFF <- 0x00;

function min(a, b) { return a < b ? a : b; }

function bank_count(size, bank) { return (size + bank - 1) / bank; }

// Reads bank 0 and then every further bank through select(n).
function dump_banks(d, size, select) {
    cpu_read(d, 0x0000, min(ROM_BANK, size));
    for (local n = 1; n < bank_count(size, ROM_BANK); n++) {
        select(n);
        cpu_read(d, ROM_BANK, min(ROM_BANK, size - n * ROM_BANK));
    }
}

// Runs body with cartridge RAM enabled and always disables it again, so that
// a failure or a cancellation never leaves the save exposed.
function with_ram(d, body) {
    cpu_write(d, RAM_ENABLE, RAM_ON);
    try {
        body();
    } catch (e) {
        try { cpu_write(d, RAM_ENABLE, RAM_OFF); } catch (ignored) {}
        throw e;
    }
    cpu_write(d, RAM_ENABLE, RAM_OFF);
}

// Moves size bytes of RAM bank by bank; select(b) switches to RAM bank b.
function each_ram_bank(d, size, select, transfer) {
    for (local b = 0; b < bank_count(size, RAM_BANK); b++) {
        select(b);
        transfer(RAM_WINDOW, min(RAM_BANK, size - b * RAM_BANK));
    }
}

function read_ram(d, size, select) {
    with_ram(d, function() {
        each_ram_bank(d, size, select, function(address, length) { cpu_read(d, address, length); });
    });
}

function write_ram(d, size, select) {
    with_ram(d, function() {
        each_ram_bank(d, size, select, function(address, length) { ram_write(d, address, length); });
    });
}

// Flash chips: an 8-bit chip takes its commands at 0x555/0x2AA and is
// programmed with the 29F operation (mode 0); a 16-bit chip in byte mode at
// 0xAAA/0x555 with the 29LV operation (mode 1).
function flash_erase(d, wide16) {
    local u1 = wide16 ? 0xAAA : 0x555;
    local u2 = wide16 ? 0x555 : 0x2AA;
    rom_flash_cfg(d, wide16 ? 1 : 0);
    cpu_write(d, 0x0000, 0xF0, u1, 0xAA, u2, 0x55, u1, 0x80, u1, 0xAA, u2, 0x55, u1, 0x10);
}

// Programs the image bank by bank, selecting each bank right before it.
function flash_banks(d, size, select) {
    rom_write(d, 0x0000, min(ROM_BANK, size));
    for (local n = 1; n < bank_count(size, ROM_BANK); n++) {
        select(n);
        rom_write(d, ROM_BANK, min(ROM_BANK, size - n * ROM_BANK));
    }
}
