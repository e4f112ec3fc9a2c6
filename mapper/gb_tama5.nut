// Bandai TAMA5: every register sits behind a select port at 0xA001 and a
// data port at 0xA000 that carry 4 bits each. The save is 32 bytes reached one
// byte at a time through the data-in, operation and address registers; the
// clock's timer page (the TAMA6's) 13 nibbles through its register access.
local here = getstackinfos(1).src;
local cut = here.len();
while (cut > 0 && here[cut - 1] != '/') cut--;
dofile(here.slice(0, cut) + "gb_common.nut", true);

TAMA5_SELECT <- 0xA001;
TAMA5_DATA <- 0xA000;
TAMA5_UNLOCK <- 0x0A;
TAMA5_READY <- 0x01;
TAMA5_SAVE <- 32;
REG_DATA_LOW <- 0x4;
REG_DATA_HIGH <- 0x5;
REG_OPERATION <- 0x6;  // bits 3-1 the operation, bit 0 address bit 4
REG_ADDRESS <- 0x7;    // address bits 0-3; writing it runs the operation
REG_OUT_LOW <- 0xC;
REG_OUT_HIGH <- 0xD;
OP_WRITE <- 0;
OP_READ <- 1;
OP_CLOCK <- 4;      // data-in low nibble: the register; high nibble: its value
TIMER_WRITE <- 0;   // the address register selects the timer page's access
TIMER_READ <- 1;
CLOCK_NIBBLES <- 13;  // second, minute, hour (units, tens), weekday, day, month, year
UNLOCK_POLLS <- 1000;

// Selects the status register until the chip answers ready.
function unlock(d) {
    cpu_write(d, TAMA5_SELECT, TAMA5_UNLOCK);
    for (local n = 0; n < UNLOCK_POLLS; n++)
        if ((cpu_read_byte(d, TAMA5_DATA) & 3) == TAMA5_READY) return;
    throw "The TAMA5 did not answer ready.";
}

function cpu_dump(d, size, unused) {
    unlock(d);
    dump_banks(d, size, function(n) {
        cpu_write(d, TAMA5_SELECT, 0, TAMA5_DATA, n & 0x0F, TAMA5_SELECT, 1, TAMA5_DATA, n >> 4);
    });
}

function nibble_at(d, register) {
    cpu_write(d, TAMA5_SELECT, register);
    return cpu_read_byte(d, TAMA5_DATA) & 0x0F;
}

function save_dump(d, size, unused) {
    unlock(d);
    for (local a = 0; a < TAMA5_SAVE; a++) {
        cpu_write(d, TAMA5_SELECT, REG_OPERATION, TAMA5_DATA, (OP_READ << 1) | (a >> 4),
                  TAMA5_SELECT, REG_ADDRESS, TAMA5_DATA, a & 0x0F);
        local low = nibble_at(d, REG_OUT_LOW);
        buffer_put(d, (nibble_at(d, REG_OUT_HIGH) << 4) | low);
    }
}

// One call of eight pairs writes a byte.
function save_write(d, size, unused) {
    unlock(d);
    for (local a = 0; a < TAMA5_SAVE; a++) {
        local v = buffer_take(d);
        cpu_write(d, TAMA5_SELECT, REG_DATA_LOW, TAMA5_DATA, v & 0x0F,
                  TAMA5_SELECT, REG_DATA_HIGH, TAMA5_DATA, v >> 4,
                  TAMA5_SELECT, REG_OPERATION, TAMA5_DATA, (OP_WRITE << 1) | (a >> 4),
                  TAMA5_SELECT, REG_ADDRESS, TAMA5_DATA, a & 0x0F);
    }
}

// The timer page: second units first, year tens last.
function rtc_read(d) {
    unlock(d);
    local nibbles = [];
    for (local r = 0; r < CLOCK_NIBBLES; r++) {
        cpu_write(d, TAMA5_SELECT, REG_DATA_LOW, TAMA5_DATA, r,
                  TAMA5_SELECT, REG_OPERATION, TAMA5_DATA, OP_CLOCK << 1,
                  TAMA5_SELECT, REG_ADDRESS, TAMA5_DATA, TIMER_READ);
        nibbles.append(nibble_at(d, REG_OUT_LOW));
    }
    return nibbles;
}

function rtc_write(d, nibbles) {
    unlock(d);
    for (local r = 0; r < CLOCK_NIBBLES; r++)
        cpu_write(d, TAMA5_SELECT, REG_DATA_LOW, TAMA5_DATA, r,
                  TAMA5_SELECT, REG_DATA_HIGH, TAMA5_DATA, nibbles[r],
                  TAMA5_SELECT, REG_OPERATION, TAMA5_DATA, OP_CLOCK << 1,
                  TAMA5_SELECT, REG_ADDRESS, TAMA5_DATA, TIMER_WRITE);
}
