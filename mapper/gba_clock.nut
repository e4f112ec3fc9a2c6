// The Seiko S-3511 clock on the port of a GBA cartridge's ROM chip (0xC4 data:
// bit 0 SCK, bit 1 SIO, bit 2 CS; 0xC6 direction; 0xC8 1 = the port reads
// back). A transfer runs while CS is high; each bit is taken as SCK rises; the
// command byte goes most significant bit first, data bytes least significant
// bit first. rtc_read returns the seven date and time bytes (BCD: year, month,
// day, weekday, hour, minute, second, the hour in 24-hour form) and the status;
// rtc_write sets them.

PORT_DATA <- 0xC4;
PORT_DIRECTION <- 0xC6;
PORT_CONTROL <- 0xC8;
SCK <- 1;
SIO <- 2;
CS <- 4;
PINS_OUT <- 7;
SIO_IN <- 5;

READ_STATUS <- 0x63;
WRITE_STATUS <- 0x62;
READ_TIME <- 0x65;
WRITE_TIME <- 0x64;
TIME_BYTES <- 7;
HOUR <- 4;
HOUR_24 <- 0x40;
PM <- 0x80;
POWER_LOST <- 0x80;
NO_STATUS <- 0x01;  // what some tools write in place of the status

function port_open(d) {
    gpio_write(d, PORT_CONTROL, 1, PORT_DIRECTION, PINS_OUT, PORT_DATA, SCK, PORT_DATA, SCK | CS);
}

// CS drops with SCK high, and the ROM shows again at the port's place.
function port_close(d) {
    gpio_write(d, PORT_DATA, SCK, PORT_CONTROL, 0);
}

function send_byte(d, value, highFirst) {
    for (local i = 0; i < 8; i += 2) {
        local a = highFirst ? value >> (7 - i) & 1 : value >> i & 1;
        local b = highFirst ? value >> (6 - i) & 1 : value >> (i + 1) & 1;
        gpio_write(d, PORT_DATA, CS | a << 1, PORT_DATA, CS | SCK | a << 1,
                   PORT_DATA, CS | b << 1, PORT_DATA, CS | SCK | b << 1);
    }
}

function receive_byte(d) {
    local value = 0;
    for (local i = 0; i < 8; i++) {
        gpio_write(d, PORT_DATA, CS, PORT_DATA, CS | SCK);
        value = value | (gpio_read(d, PORT_DATA) >> 1 & 1) << i;
    }
    return value;
}

function read_bytes(d, command, count) {
    local bytes = [];
    port_open(d);
    try {
        send_byte(d, command, true);
        gpio_write(d, PORT_DIRECTION, SIO_IN);
        for (local i = 0; i < count; i++) bytes.append(receive_byte(d));
    } catch (e) {
        try { port_close(d); } catch (ignored) {}
        throw e;
    }
    port_close(d);
    return bytes;
}

function write_bytes(d, command, bytes) {
    port_open(d);
    try {
        send_byte(d, command, true);
        foreach (b in bytes) send_byte(d, b, false);
    } catch (e) {
        try { port_close(d); } catch (ignored) {}
        throw e;
    }
    port_close(d);
}

function from_bcd(b) { return (b >> 4) * 10 + (b & 0x0F); }
function to_bcd(n) { return (n / 10) << 4 | n % 10; }

function rtc_read(d) {
    local status = read_bytes(d, READ_STATUS, 1)[0];
    local time = read_bytes(d, READ_TIME, TIME_BYTES);
    local hour = from_bcd(time[HOUR] & 0x3F);
    if (!(status & HOUR_24) && (time[HOUR] & PM)) hour = hour % 12 + 12;
    time[HOUR] = to_bcd(hour);
    time.append(status);
    return time;
}

// The status first, for the clock's hour form; then the date and time in it.
function rtc_write(d, regs) {
    local status = regs[TIME_BYTES];
    if (status == NO_STATUS) status = read_bytes(d, READ_STATUS, 1)[0];
    status = status & ~POWER_LOST;
    write_bytes(d, WRITE_STATUS, [status]);
    local time = regs.slice(0, TIME_BYTES);
    if (!(status & HOUR_24)) {
        local hour = from_bcd(time[HOUR]);
        time[HOUR] = to_bcd(hour % 12) | (hour >= 12 ? PM : 0);
    }
    write_bytes(d, WRITE_TIME, time);
}
