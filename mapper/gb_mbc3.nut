// MBC3 (and MBC30): 7-bit (8-bit on MBC30) ROM bank at 0x2000, RAM bank at
// 0x4000; a cartridge with a timer moves its clock with the save (rtc_read,
// rtc_write).
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

// The clock: registers 0x08-0x0C (seconds, minutes, hours, day low, day high)
// appear at 0xA000 when selected at 0x4000; writing 0 then 1 to 0x6000
// latches the running time into them.
RTC_FIRST <- 0x08;
RTC_REGISTERS <- 5;
RTC_HALT <- 0x40;

function rtc_read(d) {
    local regs = [];
    with_ram(d, function() {
        cpu_write(d, 0x6000, 0, 0x6000, 1);
        for (local r = 0; r < RTC_REGISTERS; r++) {
            cpu_write(d, 0x4000, RTC_FIRST + r);
            regs.append(cpu_read_byte(d, RAM_WINDOW));
        }
    });
    cpu_write(d, 0x4000, 0);
    return regs;
}

// The clock is halted while it is set, and runs again (unless dh halts it)
// with the last write. regs: seconds, minutes, hours, day low, day high.
function rtc_write(d, regs) {
    local s = regs[0], m = regs[1], h = regs[2], dl = regs[3], dh = regs[4];
    with_ram(d, function() {
        cpu_write(d, 0x4000, 0x0C, RAM_WINDOW, dh | RTC_HALT);
        cpu_write(d, 0x4000, 0x08, RAM_WINDOW, s, 0x4000, 0x09, RAM_WINDOW, m,
                  0x4000, 0x0A, RAM_WINDOW, h, 0x4000, 0x0B, RAM_WINDOW, dl);
        cpu_write(d, 0x4000, 0x0C, RAM_WINDOW, dh);
    });
    cpu_write(d, 0x4000, 0);
}
