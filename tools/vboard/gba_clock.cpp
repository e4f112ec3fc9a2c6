// The Seiko S-3511 clock on a GBA cartridge's port, through mGBA's GPIO clock.
// mGBA answers every read of the port as a cartridge would, from a fixed time;
// date and time writes, which mGBA ignores, are decoded here and move that
// time, so that a host's setting of the clock shows in the next read.
// clang-format off
#include <mgba/flags.h>  // first: makes struct mCore match the library
#include <mgba/core/core.h>
#include <mgba/core/log.h>
#include <mgba/gba/core.h>
#include <mgba-util/vfs.h>
#include <mgba/internal/gba/gba.h>
#include <mgba/internal/gba/overrides.h>
// clang-format on

#include <cstdlib>
#include <ctime>

#include "carts.h"

namespace vboard {
namespace {

void silent(mLogger*, int, mLogLevel, const char*, va_list) {}
mLogger g_quiet = {silent, nullptr};

constexpr uint32_t kCartSpace = 0x08000000;
constexpr size_t kGameCode = 0xAC;
constexpr uint32_t kData = 0xC4, kDirection = 0xC6, kControl = 0xC8;
constexpr uint16_t kSck = 1, kSio = 2, kCs = 4;
constexpr uint8_t kWriteDateTime = 0x64;
constexpr int kDateTimeBytes = 7;
constexpr uint8_t kPm = 0x80;

int from_bcd(uint8_t b) {
    return (b >> 4) * 10 + (b & 0xF);
}

}  // namespace

GbaClock::GbaClock(const Bytes& rom, int64_t unixSeconds) : m_rom(rom) {
    mLogSetDefaultLogger(&g_quiet);
    m_core = GBACoreCreate();
    if (!m_core || !m_core->init(m_core)) std::abort();
    mCoreInitConfig(m_core, nullptr);
    m_core->rtc.override = RTC_FIXED;
    m_core->rtc.value = unixSeconds * 1000;
    // mGBA keeps the port's registers in the ROM it is given: a copy of its own.
    // Only the port is served from it, so its game code is one mGBA knows
    // nothing of: known codes bring mGBA's own settings for the game, and with
    // them a clock that no longer answers the port.
    const char kNeutralCode[] = "ZCLK";
    for (size_t i = 0; i < 4 && kGameCode + i < m_rom.size(); ++i)
        m_rom[kGameCode + i] = uint8_t(kNeutralCode[i]);
    m_core->loadROM(m_core, VFileFromMemory(m_rom.data(), m_rom.size()));
    m_core->loadSave(m_core, VFileMemChunk(nullptr, 0));
    m_core->reset(m_core);
    GBACartridgeOverride override = {};
    for (size_t i = 0; i < 4 && kGameCode + i < m_rom.size(); ++i)
        override.id[i] = char(m_rom[kGameCode + i]);
    override.savetype = SAVEDATA_FORCE_NONE;
    override.hardware = HW_RTC;
    override.idleLoop = IDLE_LOOP_NONE;
    GBAOverrideApply(static_cast<GBA*>(m_core->board), &override);
}

GbaClock::~GbaClock() {
    mCoreConfigDeinit(&m_core->config);
    m_core->deinit(m_core);
}

int64_t GbaClock::time() const {
    return m_core->rtc.value / 1000;
}

void GbaClock::write(uint32_t offset, uint16_t value) {
    m_core->busWrite16(m_core, kCartSpace + offset, value);
    if (offset == kControl) m_readable = value & 1;
    if (offset == kDirection) m_direction = value;
    if (offset == kData) watch(value & m_direction);
}

bool GbaClock::read(uint32_t offset, uint16_t* value) {
    if (!m_readable || offset < kData || offset > kControl) return false;
    *value = uint16_t(m_core->busRead16(m_core, kCartSpace + offset));
    return true;
}

// The host's side of the serial protocol: a transfer runs while CS is high,
// a bit is taken on each rising SCK; the command comes most significant bit
// first, data bytes least significant first.
void GbaClock::watch(uint16_t pins) {
    const bool cs = pins & kCs, sck = pins & kSck, rising = sck && !(m_pins & kSck);
    if (cs && !(m_pins & kCs)) {
        m_bits = 0;
        m_command = 0;
        m_bytes.clear();
    } else if (cs && rising && (m_direction & kSio)) {
        const int bit = pins & kSio ? 1 : 0;
        if (m_bits < 8) {
            m_command = uint8_t(m_command << 1 | bit);
        } else {
            const int n = (m_bits - 8) / 8;
            if (n >= int(m_bytes.size())) m_bytes.push_back(0);
            m_bytes[size_t(n)] |= uint8_t(bit << ((m_bits - 8) % 8));
        }
        ++m_bits;
    } else if (!cs && (m_pins & kCs) && m_command == kWriteDateTime &&
               m_bytes.size() >= size_t(kDateTimeBytes) && m_bits >= 8 + 8 * kDateTimeBytes) {
        set_time();
    }
    m_pins = pins;
}

void GbaClock::set_time() {
    std::tm t = {};
    t.tm_year = 100 + from_bcd(m_bytes[0]);
    t.tm_mon = from_bcd(m_bytes[1]) - 1;
    t.tm_mday = from_bcd(m_bytes[2]);
    t.tm_hour = from_bcd(m_bytes[4] & uint8_t(~kPm));
    t.tm_min = from_bcd(m_bytes[5]);
    t.tm_sec = from_bcd(m_bytes[6]);
    t.tm_isdst = -1;
    // mGBA shows its time in the local time zone: the new time is read the same way.
    m_core->rtc.value = int64_t(std::mktime(&t)) * 1000;
}

}  // namespace vboard
