// MBC7: ROM bank at 0x2000. Its save memory is a serial EEPROM behind the
// accelerometer's register file, which the program's natives cannot drive.
local here = getstackinfos(1).src;
local cut = here.len();
while (cut > 0 && here[cut - 1] != '/') cut--;
dofile(here.slice(0, cut) + "gb_common.nut", true);

function cpu_dump(d, size, unused) {
    dump_banks(d, size, function(n) { cpu_write(d, 0x2000, n); });
    cpu_write(d, 0x2000, 1);
}

function save_dump(d, size, unused) { unsupported_save("MBC7 (serial EEPROM)"); }
function save_write(d, size, unused) { unsupported_save("MBC7 (serial EEPROM)"); }
