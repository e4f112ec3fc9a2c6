// MBC7: ROM bank at 0x2000. Its save is a 93LC56 serial EEPROM (128 words of
// 16 bits, high byte first in the save) behind the register file's pin port
// at 0xA080, driven bit by bit: CS bit 7, CLK bit 6, DI bit 1, DO bit 0.
local here = getstackinfos(1).src;
local cut = here.len();
while (cut > 0 && here[cut - 1] != '/') cut--;
dofile(here.slice(0, cut) + "gb_common.nut", true);

EEPROM_PORT <- 0xA080;
EEPROM_WORDS <- 128;
EEPROM_SIZE <- 256;
PIN_CS <- 0x80;
PIN_CLK <- 0x40;
PIN_DI <- 0x02;
PIN_DO <- 0x01;
READY_POLLS <- 1000;
PAIRS_PER_CALL <- 8;  // cpu_write takes eight address/value pairs

function cpu_dump(d, size, unused) {
    dump_banks(d, size, function(n) { cpu_write(d, 0x2000, n); });
    cpu_write(d, 0x2000, 1);
}

// Both register enables; any other value at 0x0000 clears them again.
function eeprom_on(d) { cpu_write(d, 0x0000, 0x0A, 0x4000, 0x40); }
function eeprom_off(d) { cpu_write(d, EEPROM_PORT, 0x00, 0x0000, 0x00); }

// Drives the pins through the listed values, several per command.
function pins(d, values) {
    for (local i = 0; i < values.len(); i += PAIRS_PER_CALL) {
        local args = [this, d];
        for (local j = i; j < values.len() && j < i + PAIRS_PER_CALL; j++) {
            args.append(EEPROM_PORT);
            args.append(values[j]);
        }
        cpu_write.acall(args);
    }
}

// Each bit is set on DI with CLK low and clocked in on the rising edge.
function add_bits(values, value, count) {
    for (local b = count - 1; b >= 0; b--) {
        local di = ((value >> b) & 1) ? PIN_DI : 0;
        values.append(PIN_CS | di);
        values.append(PIN_CS | PIN_CLK | di);
    }
    return values;
}

// Select, the start bit, then the opcode and address bits of a command.
function command(bits, count) { return add_bits([0x00, PIN_CS], (1 << count) | bits, count + 1); }

function end_command(d) { pins(d, [PIN_CS, 0x00]); }

function read_word(d, w) {
    pins(d, command((2 << 8) | w, 10));  // READ: 10, don't-care, A6..A0
    local word = 0;
    for (local b = 0; b < 16; b++) {
        pins(d, [PIN_CS, PIN_CS | PIN_CLK]);
        word = (word << 1) | (cpu_read_byte(d, EEPROM_PORT) & PIN_DO);
    }
    end_command(d);
    return word;
}

function wait_ready(d) {
    pins(d, [PIN_CS]);
    for (local n = 0; n < READY_POLLS; n++)
        if (cpu_read_byte(d, EEPROM_PORT) & PIN_DO) {
            pins(d, [0x00]);
            return;
        }
    throw "The MBC7 EEPROM did not finish writing.";
}

function write_word(d, w, word) {
    pins(d, add_bits(command((1 << 8) | w, 10), word, 16));  // WRITE: 01, don't-care, A6..A0
    end_command(d);
    wait_ready(d);
}

// EWEN (00 11 xxxxxx) before writing, EWDS (00 00 xxxxxx) after.
function write_enable(d, on) {
    pins(d, command(on ? 0x0C0 : 0x000, 10));
    end_command(d);
}

function save_dump(d, size, unused) {
    eeprom_on(d);
    try {
        for (local w = 0; w < EEPROM_WORDS; w++) {
            local word = read_word(d, w);
            buffer_put(d, word >> 8);
            buffer_put(d, word & 0xFF);
        }
    } catch (e) {
        try { eeprom_off(d); } catch (ignored) {}
        throw e;
    }
    eeprom_off(d);
}

function save_write(d, size, unused) {
    eeprom_on(d);
    try {
        write_enable(d, true);
        for (local w = 0; w < EEPROM_WORDS; w++) {
            local high = buffer_take(d);
            write_word(d, w, (high << 8) | buffer_take(d));
        }
        write_enable(d, false);
    } catch (e) {
        try { eeprom_off(d); } catch (ignored) {}
        throw e;
    }
    eeprom_off(d);
}
