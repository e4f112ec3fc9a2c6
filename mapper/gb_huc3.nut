// HuC-3: ROM bank at 0x2000 (7 bits), RAM bank at 0x4000. 0x0000 chooses what
// 0xA000-0xBFFF is: 0x00 the RAM read-only, 0x0A the RAM, 0x0B, 0x0C and 0x0D
// the mailbox of the 4-bit chip that keeps the clock (rtc_read, rtc_write).
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

// RAM_OFF (0x00) leaves the RAM read-only: the save stays as written.
function save_write(d, size, unused) {
    write_ram(d, size, select_ram(d));
    cpu_write(d, 0x4000, 0);
}

// The mailbox: a command goes in (0x0B), runs when 0xFE is written while the
// chip says ready (0x0D, bit 0), and its answer comes out (0x0C, low nibble).
MODE_IN <- 0x0B;
MODE_OUT <- 0x0C;
MODE_COMMIT <- 0x0D;
RUN <- 0xFE;
READY_POLLS <- 100;

function wait_ready(d) {
    cpu_write(d, 0x0000, MODE_COMMIT);
    for (local i = 0; i < READY_POLLS; i++)
        if (cpu_read_byte(d, RAM_WINDOW) & 1) return;
    throw "The HuC-3 clock chip did not answer ready.";
}

function command(d, value) {
    wait_ready(d);
    cpu_write(d, 0x0000, MODE_IN, RAM_WINDOW, value, 0x0000, MODE_COMMIT, RAM_WINDOW, RUN);
    wait_ready(d);
}

function answer(d) {
    cpu_write(d, 0x0000, MODE_OUT);
    return cpu_read_byte(d, RAM_WINDOW) & 0x0F;
}

// The clock's six nibbles: minute of day, then day counter, least significant
// first. 0x60 copies the running time into the chip's locations 0x00-0x06,
// 0x40/0x50 point at location 0, 0x10 reads a nibble, 0x3n writes one, and
// 0x61 makes the locations the running time again.
CLOCK_NIBBLES <- 6;

function at_clock(d) {
    command(d, 0x60);
    command(d, 0x40);
    command(d, 0x50);
}

function rtc_read(d) {
    local nibbles = [];
    at_clock(d);
    for (local i = 0; i < CLOCK_NIBBLES; i++) {
        command(d, 0x10);
        nibbles.append(answer(d));
    }
    cpu_write(d, 0x0000, RAM_OFF);
    return nibbles;
}

function rtc_write(d, nibbles) {
    at_clock(d);
    for (local i = 0; i < CLOCK_NIBBLES; i++) command(d, 0x30 | nibbles[i]);
    command(d, 0x61);
    cpu_write(d, 0x0000, RAM_OFF);
}
