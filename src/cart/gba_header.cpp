#include <algorithm>
#include <cstring>

#include "cart/bus.h"
#include "cart/gba_cart_table.h"
#include "cart/header.h"

namespace gb {

const uint8_t kGbaLogo[kGbaLogoSize] = {
    0x24, 0xFF, 0xAE, 0x51, 0x69, 0x9A, 0xA2, 0x21, 0x3D, 0x84, 0x82, 0x0A, 0x84, 0xE4, 0x09, 0xAD,
    0x11, 0x24, 0x8B, 0x98, 0xC0, 0x81, 0x7F, 0x21, 0xA3, 0x52, 0xBE, 0x19, 0x93, 0x09, 0xCE, 0x20,
    0x10, 0x46, 0x4A, 0x4A, 0xF8, 0x27, 0x31, 0xEC, 0x58, 0xC7, 0xE8, 0x33, 0x82, 0xE3, 0xCE, 0xBF,
    0x85, 0xF4, 0xDF, 0x94, 0xCE, 0x4B, 0x09, 0xC1, 0x94, 0x56, 0x8A, 0xC0, 0x13, 0x72, 0xA7, 0xFC,
    0x9F, 0x84, 0x4D, 0x73, 0xA3, 0xCA, 0x9A, 0x61, 0x58, 0x97, 0xA3, 0x27, 0xFC, 0x03, 0x98, 0x76,
    0x23, 0x1D, 0xC7, 0x61, 0x03, 0x04, 0xAE, 0x56, 0xBF, 0x38, 0x84, 0x00, 0x40, 0xA7, 0x0E, 0xFD,
    0xFF, 0x52, 0xFE, 0x03, 0x6F, 0x95, 0x30, 0xF1, 0x97, 0xFB, 0xC0, 0x85, 0x60, 0xD6, 0x80, 0x25,
    0xA9, 0x63, 0xBE, 0x03, 0x01, 0x4E, 0x38, 0xE2, 0xF9, 0xA2, 0x34, 0xFF, 0xBB, 0x3E, 0x03, 0x44,
    0x78, 0x00, 0x90, 0xCB, 0x88, 0x11, 0x3A, 0x94, 0x65, 0xC0, 0x7C, 0x63, 0x87, 0xF0, 0x3C, 0xAF,
    0xD6, 0x25, 0xE4, 0x8B, 0x38, 0x0A, 0xAC, 0x72, 0x21, 0xD4, 0xF8, 0x07};

namespace {

QString field(const char* text, size_t width) {
    return QString::fromLocal8Bit(text, int(strnlen(text, width)));
}

bool code_char(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// Whether the row's serials ("AGB-AWRP-EUR, AGB-AWRE-USA") hold code as one
// of their four-character game codes: after a prefix of three and a dash,
// and followed by a dash, a separator or the end; never as a part of another.
bool serial_holds(const char* serial, size_t width, const char* code) {
    const size_t n = strnlen(serial, width);
    constexpr size_t kPrefix = 4;  // "AGB-"
    for (size_t at = kPrefix; at + kGbaCodeSize <= n; ++at) {
        if (std::memcmp(serial + at, code, kGbaCodeSize) != 0) continue;
        const char* prefix = serial + at - kPrefix;
        const bool starts = prefix[3] == '-' && code_char(prefix[0]) && code_char(prefix[1]) &&
                            code_char(prefix[2]) && (at == kPrefix || !code_char(prefix[-1]));
        const char after = at + kGbaCodeSize < n ? serial[at + kGbaCodeSize] : '\0';
        if (starts && !code_char(after)) return true;
    }
    return false;
}

}  // namespace

bool gba_cartridge_info(const unsigned char* header, gba_pcb* pcb) {
    if (std::memcmp(header + kGbaLogoOffset, kGbaLogo, kGbaLogoSize) != 0) return false;

    char key[kGbaCodeSize + 1] = {};
    std::memcpy(key, header + kGbaCodeOffset, kGbaCodeSize);
    // Only a whole code of four letters and digits names a release.
    if (!std::all_of(key, key + kGbaCodeSize, code_char)) return true;

    for (size_t i = 0; i < gba_cart_count; ++i) {
        const gba_cart_row& row = gba_cart_table[i];
        if (!serial_holds(row.serial, sizeof row.serial, key)) continue;
        pcb->title = field(row.title, sizeof row.title);
        pcb->year = field(row.year, sizeof row.year);
        pcb->publisher = field(row.publisher, sizeof row.publisher);
        pcb->serial = field(row.serial, sizeof row.serial);
        pcb->rom_size = int32_t(strtol(row.rom_size, nullptr, 10));
        pcb->sav_size = 0;
        pcb->sav_type = 0;
        pcb->rtc = std::binary_search(gba_clock_rows, gba_clock_rows + gba_clock_row_count, i);
        for (const GbaSaveKind& kind : kGbaSaveKinds) {
            if (!strstr(row.save_kind, kind.name)) continue;
            pcb->sav_size = kind.size;
            pcb->sav_type = kind.type;
            break;
        }
        return true;
    }
    return true;
}

}  // namespace gb
