#include <cstring>

#include "cart/controllers.h"
#include "cart/header.h"
#include "cart/known_dumps.h"

namespace gb {

const uint8_t kGbLogo[kGbLogoSize] = {
    0xCE, 0xED, 0x66, 0x66, 0xCC, 0x0D, 0x00, 0x0B, 0x03, 0x73, 0x00, 0x83, 0x00, 0x0C, 0x00, 0x0D,
    0x00, 0x08, 0x11, 0x1F, 0x88, 0x89, 0x00, 0x0E, 0xDC, 0xCC, 0x6E, 0xE6, 0xDD, 0xDD, 0xD9, 0x99,
    0xBB, 0xBB, 0x67, 0x63, 0x6E, 0x0E, 0xEC, 0xCC, 0xDD, 0xDC, 0x99, 0x9F, 0xBB, 0xB9, 0x33, 0x3E};

namespace {

// 0 for a code no cartridge uses: the size is unknown, never guessed.
uint32_t rom_size_of(uint8_t code) {
    if (code <= 0x08) return 32768u << code;
    if (code >= 0x52 && code <= 0x54) return 2097152;
    return 0;
}

// Codes 0x04 and 0x05 as the hardware defines them: 128 KiB and 64 KiB.
constexpr uint32_t kRamSizes[] = {0,     2048,   8192, 32768,   131072,
                                  65536, 262144, 512,  1048576, 2097152};

}  // namespace

bool gb_cartridge_info(const unsigned char* header, gb_pcb* pcb) {
    if (std::memcmp(header + kGbLogoOffset, kGbLogo, kGbLogoSize) != 0) return false;

    pcb->title = header_title(false, header);

    const uint8_t type = header[kGbTypeOffset];
    // A type no controller row names is unknown: no controller is guessed for it.
    const MbcRow* row = mbc_by_header_type(type);
    pcb->mbc_type = row ? row->code : kUnknownMbc;
    const char* name = header_type_name(type);
    pcb->cart_type = name ? QString::fromLatin1(name)
                          : QStringLiteral("Unknow Cartridge Type") + QString::number(type);

    pcb->rom_size = rom_size_of(header[kGbRomCodeOffset]);
    const uint8_t ramCode = header[kGbRamCodeOffset];
    if (ramCode == 0)
        pcb->ram_size = row ? row->builtinRam : 0;
    else
        pcb->ram_size = ramCode < sizeof kRamSizes / sizeof kRamSizes[0] ? kRamSizes[ramCode] : 0;
    return true;
}

}  // namespace gb
