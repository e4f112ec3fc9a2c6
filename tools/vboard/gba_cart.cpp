// A GBA cartridge: ROM on the 16-bit bus and one of the five save memories.
#include <algorithm>
#include <cstring>

#include "carts.h"

namespace vboard {

GbaSave gba_save_from_name(const std::string& name, bool* ok) {
    static const std::pair<const char*, GbaSave> kNames[] = {
        {"none", GbaSave::None},        {"sram", GbaSave::Sram},
        {"flash64", GbaSave::Flash64k}, {"flash128", GbaSave::Flash128k},
        {"eep512", GbaSave::Eep512},    {"eep8k", GbaSave::Eep8k}};
    for (const auto& n : kNames)
        if (name == n.first) {
            *ok = true;
            return n.second;
        }
    *ok = false;
    return GbaSave::None;
}

uint32_t gba_save_size(GbaSave kind) {
    switch (kind) {
        case GbaSave::Sram:
            return 0x8000;
        case GbaSave::Flash64k:
            return 0x10000;
        case GbaSave::Flash128k:
            return 0x20000;
        case GbaSave::Eep512:
            return 0x200;
        case GbaSave::Eep8k:
            return 0x2000;
        case GbaSave::None:
            return 0;
    }
    return 0;
}

GbaCart::GbaCart(Bytes rom, GbaSave kind, const Bytes& save, int eraseMs, bool mirror)
    : m_rom(std::move(rom)),
      m_kind(kind),
      m_save(gba_save_size(kind), 0xFF),
      m_eraseMs(eraseMs),
      m_mirror(mirror) {
    std::copy_n(save.begin(), std::min(save.size(), m_save.size()), m_save.begin());
}

void GbaCart::attach_clock(int64_t unixSeconds) {
    m_clock = std::make_unique<GbaClock>(m_rom, unixSeconds);
}

void GbaCart::bus_write(uint32_t address, uint16_t value) {
    constexpr uint32_t kCartSpace = 0x08000000;
    if (m_clock && address >= kCartSpace) m_clock->write(address - kCartSpace, value);
}

uint8_t GbaCart::rom_byte(uint32_t byteAddress) const {
    uint16_t port = 0;
    if (m_clock && m_clock->read(byteAddress & ~1u, &port))
        return uint8_t(byteAddress & 1 ? port >> 8 : port);
    if (byteAddress < m_rom.size()) return m_rom[byteAddress];
    if (m_mirror && !m_rom.empty()) return m_rom[byteAddress % m_rom.size()];
    // Past the end the bus shows the low 16 bits of the halfword address.
    const uint32_t halfword = (byteAddress >> 1) & 0xFFFF;
    return uint8_t(byteAddress & 1 ? halfword >> 8 : halfword);
}

void GbaCart::settle() {
    if (!m_erasing || now_ms() < m_eraseEnd) return;
    std::fill(m_save.begin(), m_save.end(), 0xFF);
    m_erasing = false;
}

static bool is_flash(GbaSave kind) {
    return kind == GbaSave::Flash64k || kind == GbaSave::Flash128k;
}

void GbaCart::save_read(uint32_t address, uint8_t* dest, uint32_t n) {
    settle();
    for (uint32_t i = 0; i < n; ++i) {
        if (m_save.empty())
            dest[i] = 0xFF;
        else if (m_erasing)
            dest[i] = 0x00;  // the chip reports busy until the erase finishes
        else
            dest[i] = m_save[(address + i) % m_save.size()];
    }
}

namespace {

constexpr uint32_t kEepBlock = 8;       // bytes a read or write command moves
constexpr uint32_t kEepNarrowBits = 6;  // the 512 B chip's address bits
constexpr uint32_t kEepWideBits = 14;   // the 8 KiB chip's address bits

// The byte a 512 B chip reads or writes for a byte address sent with 14 bits.
uint32_t small_chip_byte(uint32_t address) {
    const uint32_t block = (address / kEepBlock) >> (kEepWideBits - kEepNarrowBits);
    return (block % (1u << kEepNarrowBits)) * kEepBlock + address % kEepBlock;
}

}  // namespace

void GbaCart::eeprom_read(bool wide, uint32_t address, uint8_t* dest, uint32_t n) {
    if (m_kind == GbaSave::Eep8k && !wide) return void(std::fill(dest, dest + n, 0xFF));
    if (m_kind != GbaSave::Eep512 || !wide) return save_read(address, dest, n);
    for (uint32_t i = 0; i < n; ++i) save_read(small_chip_byte(address + i), dest + i, 1);
}

void GbaCart::eeprom_write(bool wide, uint32_t address, const uint8_t* src, uint32_t n) {
    if (m_kind == GbaSave::Eep8k && !wide) return;
    if (m_kind != GbaSave::Eep512 || !wide) return save_write(address, src, n);
    for (uint32_t i = 0; i < n; ++i) save_write(small_chip_byte(address + i), src + i, 1);
}

void GbaCart::save_write(uint32_t address, const uint8_t* src, uint32_t n) {
    settle();
    if (m_save.empty() || m_erasing) return;
    for (uint32_t i = 0; i < n; ++i) {
        uint8_t& cell = m_save[(address + i) % m_save.size()];
        cell = is_flash(m_kind) ? uint8_t(cell & src[i]) : src[i];
    }
}

void GbaCart::erase() {
    settle();
    m_erasing = true;
    m_eraseEnd = now_ms() + m_eraseMs;
}

Bytes GbaCart::save() {
    settle();
    return m_save;
}

}  // namespace vboard
