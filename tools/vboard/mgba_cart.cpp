// GB/GBC cartridges run through mGBA's memory-controller emulation.
// clang-format off
#include <mgba/flags.h>  // first: makes struct mCore match the library
#include <mgba/core/core.h>
#include <mgba/core/log.h>
#include <mgba/gb/core.h>
#include <mgba-util/vfs.h>
// clang-format on

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "carts.h"

namespace vboard {
namespace {

void silent(mLogger*, int, mLogLevel, const char*, va_list) {}
mLogger g_quiet = {silent, nullptr};

constexpr uint16_t kHeaderType = 0x147;
constexpr uint8_t kMbc2Types[] = {0x05, 0x06};
constexpr uint8_t kPlainRamTypes[] = {0x08, 0x09};
constexpr uint32_t kMbc2Nibbles = 512;
constexpr uint32_t kPlainRamSize = 0x2000;
constexpr uint8_t kMbc3ClockTypes[] = {0x0F, 0x10};
constexpr uint8_t kHuC3Type = 0xFE, kTama5Type = 0xFD;
constexpr size_t kMbc3Registers = 5, kHuC3Values = 2, kTama5Values = 1;
constexpr uint8_t kClockFirst = 0x08;
constexpr int64_t kClockEpochMs = 1700000000000;

bool is_one_of(uint8_t type, const uint8_t* types, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (types[i] == type) return true;
    return false;
}

// mGBA keeps MBC2's nibbles two to a byte, even address in the low nibble;
// the bus shows one nibble per byte with the upper half set.
Bytes pack_mbc2(const Bytes& bus) {
    Bytes packed(kMbc2Nibbles / 2, 0xFF);
    for (uint32_t i = 0; i < kMbc2Nibbles && i < bus.size(); ++i) {
        uint8_t& b = packed[i / 2];
        if (i % 2 == 0)
            b = uint8_t((b & 0xF0) | (bus[i] & 0x0F));
        else
            b = uint8_t((b & 0x0F) | (bus[i] & 0x0F) << 4);
    }
    return packed;
}

Bytes unpack_mbc2(const uint8_t* packed, size_t n) {
    Bytes bus(kMbc2Nibbles, 0xFF);
    for (uint32_t i = 0; i < kMbc2Nibbles && i / 2 < n; ++i)
        bus[i] = uint8_t(0xF0 | ((i % 2 ? packed[i / 2] >> 4 : packed[i / 2]) & 0x0F));
    return bus;
}

class MgbaCart : public GbCart {
public:
    MgbaCart(Bytes rom, const Bytes& save, const std::vector<int64_t>& clock)
        : m_rom(std::move(rom)) {
        mLogSetDefaultLogger(&g_quiet);
        m_mbc2 = is_one_of(m_rom[kHeaderType], kMbc2Types, sizeof kMbc2Types);
        m_core = GBCoreCreate();
        if (!m_core || !m_core->init(m_core)) std::abort();
        mCoreInitConfig(m_core, nullptr);
        // The modelled clock stands still, so a test knows what it reads.
        m_core->rtc.override = RTC_FIXED;
        m_core->rtc.value = kClockEpochMs;
        m_core->loadROM(m_core, VFileFromMemory(m_rom.data(), m_rom.size()));
        Bytes initial = m_mbc2 && !save.empty() ? pack_mbc2(save) : save;
        m_core->loadSave(m_core,
                         VFileMemChunk(initial.empty() ? nullptr : initial.data(), initial.size()));
        m_core->reset(m_core);
        void* sram = nullptr;
        m_saveSize = m_core->savedataClone(m_core, &sram);
        std::free(sram);
        const uint8_t type = m_rom[kHeaderType];
        if (type == kTama5Type)
            m_tama5 = std::make_unique<Tama5Clock>(clock.empty() ? kClockEpochMs / 1000 : clock[0]);
        if (clock.size() == kMbc3Registers) set_mbc3_clock(clock);
        if (type == kHuC3Type && clock.size() == kHuC3Values) set_huc3_clock(clock[0], clock[1]);
    }
    ~MgbaCart() override {
        mCoreConfigDeinit(&m_core->config);
        m_core->deinit(m_core);
    }
    uint8_t read(uint16_t address) override {
        uint8_t value = 0xFF;
        if (m_tama5 && m_tama5->read(address, &value)) return value;
        return gb_cart_address(address) ? uint8_t(m_core->busRead8(m_core, address)) : 0xFF;
    }
    void write(uint16_t address, uint8_t value) override {
        if (m_tama5 && m_tama5->write(address, value)) return;
        if (gb_cart_address(address)) m_core->busWrite8(m_core, address, value);
    }
    Bytes save() override {
        void* sram = nullptr;
        const size_t n = m_core->savedataClone(m_core, &sram);
        const size_t keep = n < m_saveSize ? n : m_saveSize;  // no clock trailer
        Bytes out = m_mbc2 ? unpack_mbc2(static_cast<uint8_t*>(sram), keep)
                           : Bytes(static_cast<uint8_t*>(sram), static_cast<uint8_t*>(sram) + keep);
        std::free(sram);
        return out;
    }
    void reset() override { m_core->reset(m_core); }

private:
    // Sets the MBC3 clock registers through the bus, as a game would.
    void set_mbc3_clock(const std::vector<int64_t>& clock) {
        write(0x0000, 0x0A);
        for (uint8_t r = 0; r < kMbc3Registers; ++r) {
            write(0x4000, uint8_t(kClockFirst + r));
            write(0xA000, uint8_t(clock[r]));
        }
        write(0x4000, 0x00);
        write(0x0000, 0x00);
    }

    // Sets the HuC-3 clock through its mailbox, as a game would: the six
    // nibbles of the minute of day and the day counter, then 0x61 to run them.
    void set_huc3_clock(int64_t minutes, int64_t days) {
        const auto command = [this](uint8_t c) {
            write(0x0000, 0x0B);
            write(0xA000, c);
            write(0x0000, 0x0D);
            write(0xA000, 0xFE);
        };
        command(0x60);
        command(0x40);
        command(0x50);
        for (int i = 0; i < 3; ++i) command(uint8_t(0x30 | (minutes >> (4 * i) & 0xF)));
        for (int i = 0; i < 3; ++i) command(uint8_t(0x30 | (days >> (4 * i) & 0xF)));
        command(0x61);
        write(0x0000, 0x00);
    }

    Bytes m_rom;  // mGBA reads the ROM in place
    mCore* m_core = nullptr;
    bool m_mbc2 = false;
    size_t m_saveSize = 0;
    std::unique_ptr<Tama5Clock> m_tama5;
};

// ROM and RAM without a controller: the ROM flat at 0x0000-0x7FFF, the RAM at
// 0xA000-0xBFFF with no enable.
class PlainCart : public GbCart {
public:
    PlainCart(Bytes rom, const Bytes& save) : m_rom(std::move(rom)), m_ram(kPlainRamSize, 0xFF) {
        std::copy_n(save.begin(), std::min(save.size(), m_ram.size()), m_ram.begin());
    }
    uint8_t read(uint16_t address) override {
        if (address < 0x8000) return address < m_rom.size() ? m_rom[address] : 0xFF;
        if (address >= 0xA000 && address < 0xC000) return m_ram[address - 0xA000];
        return 0xFF;
    }
    void write(uint16_t address, uint8_t value) override {
        if (address >= 0xA000 && address < 0xC000) m_ram[address - 0xA000] = value;
    }
    Bytes save() override { return m_ram; }

private:
    Bytes m_rom;
    Bytes m_ram;
};

class EmptySlot : public GbCart {
public:
    uint8_t read(uint16_t) override { return 0xFF; }
    void write(uint16_t, uint8_t) override {}
};

}  // namespace

size_t gb_clock_values(uint8_t headerType) {
    if (is_one_of(headerType, kMbc3ClockTypes, sizeof kMbc3ClockTypes)) return kMbc3Registers;
    if (headerType == kHuC3Type) return kHuC3Values;
    if (headerType == kTama5Type) return kTama5Values;
    return 0;
}

std::unique_ptr<GbCart> make_gb_cart(Bytes rom, const Bytes& save,
                                     const std::vector<int64_t>& clock) {
    if (rom.size() < 0x8000) rom.resize(0x8000, 0xFF);
    if (is_one_of(rom[kHeaderType], kPlainRamTypes, sizeof kPlainRamTypes))
        return std::make_unique<PlainCart>(std::move(rom), save);
    return std::make_unique<MgbaCart>(std::move(rom), save, clock);
}

std::unique_ptr<GbCart> make_empty_slot() {
    return std::make_unique<EmptySlot>();
}

int64_t now_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace vboard
