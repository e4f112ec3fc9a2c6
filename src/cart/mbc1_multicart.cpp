#include "cart/mbc1_multicart.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "cart/bus.h"
#include "cart/controllers.h"
#include "cart/header.h"

namespace gb {
namespace {

constexpr uint32_t kBankSize = kGbRomBank;
constexpr uint32_t kSwitchable = 0x4000;  // where the lower register's bank shows
constexpr uint32_t kLowerBank = 0x2000, kUpperBank = 0x4000, kMode = 0x6000;
constexpr uint8_t kMulticartRomCode = 5;  // 1 MiB

bool write(std::initializer_list<uint32_t> pairs) {
    return write_pairs(p_gb_cpu_write, pairs);
}

bool read(uint32_t address, uint8_t* dest, uint32_t len) {
    return p_gb_cpu_read && p_gb_cpu_read(address, dest, len) == len;
}

}  // namespace

Multicart mbc1_multicart(const uint8_t* header) {
    const MbcRow* row = mbc_by_script(kMbc1Script);
    const uint8_t type = header[kGbTypeOffset];
    if (!row || header[kGbRomCodeOffset] != kMulticartRomCode || mbc_by_header_type(type) != row)
        return Multicart::No;
    std::vector<uint8_t> first(kBankSize), switched(kBankSize);
    uint8_t logo[kGbLogoSize] = {};
    // Lower register 0x10: a plain MBC1 shows bank 0x10, the multicart bank 0.
    const bool read_all = write({kMode, 0, kUpperBank, 0, kLowerBank, 0x10}) &&
                          read(0, first.data(), kBankSize) &&
                          read(kSwitchable, switched.data(), kBankSize) && write({kUpperBank, 1}) &&
                          read(kSwitchable + kGbLogoOffset, logo, kGbLogoSize);
    write({kUpperBank, 0, kLowerBank, 1});
    if (!read_all) return Multicart::No;
    const bool mirror = first == switched;
    const bool secondGame = std::memcmp(logo, kGbLogo, kGbLogoSize) == 0;
    if (mirror && secondGame) return Multicart::Yes;
    return mirror || secondGame ? Multicart::Unsure : Multicart::No;
}

}  // namespace gb
