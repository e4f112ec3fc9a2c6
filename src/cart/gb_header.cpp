#include <cstring>

#include "cart/controllers.h"
#include "cart/header.h"

namespace gb {

const uint8_t kGbLogo[kGbLogoSize] = {
    0xCE, 0xED, 0x66, 0x66, 0xCC, 0x0D, 0x00, 0x0B, 0x03, 0x73, 0x00, 0x83, 0x00, 0x0C, 0x00, 0x0D,
    0x00, 0x08, 0x11, 0x1F, 0x88, 0x89, 0x00, 0x0E, 0xDC, 0xCC, 0x6E, 0xE6, 0xDD, 0xDD, 0xD9, 0x99,
    0xBB, 0xBB, 0x67, 0x63, 0x6E, 0x0E, 0xEC, 0xCC, 0xDD, 0xDC, 0x99, 0x9F, 0xBB, 0xB9, 0x33, 0x3E};

namespace {

// The names of the header types; the controller of a type comes from its row
// in mbc_table.
struct CartType {
    uint8_t code;
    const char* name;
};

constexpr CartType kCartTypes[] = {
    {0x00, "ROM ONLY"},
    {0x01, "ROM+MBC1"},
    {0x02, "ROM+MBC1+RAM"},
    {0x03, "ROM+MBC1+RAM+BATT"},
    {0x05, "ROM+MBC2"},
    {0x06, "ROM+MBC2+BATTERY"},
    {0x08, "ROM+RAM"},
    {0x09, "ROM+RAM+BATTERY"},
    {0x0B, "ROM+MMMO1"},
    {0x0C, "ROM+MMMO1+SRAM"},
    {0x0D, "ROM+MMMO1+SRAM+BATT"},
    {0x0F, "ROM+MBC3+TIMER+BATT"},
    {0x10, "ROM+MBC3+TIMER+RAM+BAT"},
    {0x11, "ROM+MBC3"},
    {0x12, "ROM+MBC3+RAM"},
    {0x13, "ROM+MBC3+RAM+BATT"},
    {0x15, "ROM+MBC4"},
    {0x16, "ROM+MBC4+RAM"},
    {0x17, "ROM+MBC4+RAM+BATTERY"},
    {0x19, "ROM+MBC5"},
    {0x1A, "ROM+MBC5+RAM"},
    {0x1B, "ROM+MBC5+RAM+BATT"},
    {0x1C, "ROM+MBC5+RUMBLE"},
    {0x1D, "ROM+MBC5+RUMBLE+SRAM"},
    {0x1E, "ROM+MBC5+RUMBLE+SRAM+BATT"},
    {0x1F, "Pocket Camera"},
    {0x22, "ROM+MBC7+BATT"},
    {0x55, "GameGenie"},
    {0x56, "GameShark V3.0"},
    {0xFC, "POCKET CAMERA"},
    {0xFD, "Bandai TAMA5"},
    {0xFE, "Hudson HuC-3"},
    {0xFF, "HuC1+RAM+BATTERY"},
};

uint32_t rom_size_of(uint8_t code) {
    if (code >= 0x01 && code <= 0x08) return 32768u << code;
    if (code >= 0x52 && code <= 0x54) return 2097152;
    return 32768;
}

// Codes 0x04 and 0x05 as the hardware defines them: 128 KiB and 64 KiB.
constexpr uint32_t kRamSizes[] = {0,     2048,   8192, 32768,   131072,
                                  65536, 262144, 512,  1048576, 2097152};

}  // namespace

int gb_cartridge_info(const unsigned char* header, gb_pcb* pcb) {
    if (std::memcmp(header + kGbLogoOffset, kGbLogo, kGbLogoSize) != 0) return 0;

    char title[kGbTitleSize + 1] = {};
    std::memcpy(title, header + kGbTitleOffset, kGbTitleSize);
    pcb->title = QString::fromUtf8(title);

    const uint8_t type = header[kGbTypeOffset];
    const MbcRow* row = mbc_by_header_type(type);
    if (!row) row = mbc_row_at(kDefaultMbcPosition);
    pcb->mbc_type = row->code;
    pcb->cart_type = QStringLiteral("Unknow Cartridge Type") + QString::number(type);
    for (const CartType& t : kCartTypes) {
        if (t.code != type) continue;
        pcb->cart_type = QString::fromLatin1(t.name);
        break;
    }

    pcb->rom_size = rom_size_of(header[kGbRomCodeOffset]);
    const uint8_t ramCode = header[kGbRamCodeOffset];
    if (ramCode == 0)
        pcb->ram_size = row->builtinRam;
    else
        pcb->ram_size = ramCode < sizeof kRamSizes / sizeof kRamSizes[0] ? kRamSizes[ramCode] : 0;
    return 1;
}

}  // namespace gb
