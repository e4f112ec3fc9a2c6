// The TAMA6 clock behind a TAMA5, modelled here: mGBA's model of it loses its
// digits when it counts (0.10.1). The board serves the timer page through the
// TAMA5's RTC register access (operation 4: data-in low nibble the register,
// high nibble the value; the address register 0 writes it, 1 reads it) and
// leaves every other operation to mGBA. The clock stands still, as the other
// modelled clocks do.
#include <ctime>

#include "carts.h"

namespace vboard {
namespace {

constexpr uint16_t kWindow = 0xA000, kWindowEnd = 0xC000;
enum Register { kDataLow = 0x4, kDataHigh = 0x5, kOperation = 0x6, kAddress = 0x7, kOutLow = 0xC };
constexpr int kRtcAccess = 4;
constexpr uint8_t kTimerWrite = 0, kTimerRead = 1;

}  // namespace

Tama5Clock::Tama5Clock(int64_t unixSeconds) {
    const std::time_t t = std::time_t(unixSeconds);
    std::tm c = {};
    gmtime_r(&t, &c);
    const int pairs[] = {c.tm_sec, c.tm_min, c.tm_hour};
    for (int i = 0; i < 3; ++i) {
        m_page[2 * i] = uint8_t(pairs[i] % 10);
        m_page[2 * i + 1] = uint8_t(pairs[i] / 10);
    }
    m_page[6] = uint8_t(c.tm_wday);
    const int date[] = {c.tm_mday, c.tm_mon + 1, c.tm_year % 100};
    for (int i = 0; i < 3; ++i) {
        m_page[7 + 2 * i] = uint8_t(date[i] % 10);
        m_page[8 + 2 * i] = uint8_t(date[i] / 10);
    }
}

bool Tama5Clock::write(uint16_t address, uint8_t value) {
    if (address < kWindow || address >= kWindowEnd) return false;
    if (address & 1) {
        m_selected = value & 0xF;
        return false;
    }
    m_regs[m_selected] = value & 0xF;
    if (m_selected != kAddress) return false;
    m_answering = false;
    if (m_regs[kOperation] >> 1 != kRtcAccess) return false;
    const uint8_t index = m_regs[kDataLow];
    if (index < kTimerRegisters && (value & 0xF) == kTimerWrite) m_page[index] = m_regs[kDataHigh];
    if (index < kTimerRegisters && (value & 0xF) == kTimerRead) {
        m_out = m_page[index];
        m_answering = true;
    }
    return true;
}

bool Tama5Clock::read(uint16_t address, uint8_t* value) const {
    if (!m_answering || address < kWindow || address >= kWindowEnd || (address & 1)) return false;
    if (m_selected != kOutLow && m_selected != kOutLow + 1) return false;
    *value = uint8_t(0xF0 | (m_selected == kOutLow ? m_out : 0));
    return true;
}

}  // namespace vboard
