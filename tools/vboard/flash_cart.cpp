// A rewritable GB flash cartridge: MBC1 or MBC5 bank registers in front of an
// AMD/JEDEC flash chip, with the chip's command set, query table and timing.
#include <algorithm>
#include <iterator>

#include "carts.h"

namespace vboard {
namespace {

constexpr uint8_t kCmdReset = 0xF0, kUnlockA = 0xAA, kUnlockB = 0x55, kCmdAutoselect = 0x90,
                  kCmdProgram = 0xA0, kCmdEraseSetup = 0x80, kCmdChipErase = 0x10,
                  kCmdSectorErase = 0x30, kCmdQuery = 0x98;
// The 8-bit parts a chip of each size is, by their autoselect IDs (AMD datasheets).
struct Part {
    uint32_t size;
    uint16_t id;
};
constexpr Part kParts[] = {{0x20000, 0x0120},
                           {0x80000, 0x01A4},
                           {0x100000, 0x01D5},
                           {0x200000, 0x01AD},
                           {0x400000, 0x0141}};
constexpr uint16_t kNoPart = 0x0199;  // an AMD ID no part has
constexpr uint16_t kWideId = 0x01C4;  // Am29LV160DT in byte mode
constexpr uint32_t kSector = 0x10000;
constexpr uint32_t kBankSize = 0x4000;
constexpr uint32_t kHeaderType = 0x147;
constexpr uint8_t kMbc1Types[] = {0x01, 0x02, 0x03};

class FlashCart : public GbCart {
public:
    explicit FlashCart(const FlashOptions& o) : m_o(o), m_chip(o.size, 0xFF) {
        std::copy_n(o.contents.begin(), std::min<size_t>(o.contents.size(), m_chip.size()),
                    m_chip.begin());
    }

    uint8_t read(uint16_t address) override {
        settle();
        if (address >= 0x8000) return 0xFF;
        if (m_eraseEnd) return 0x00;  // DQ7 reads 0 while erasing
        if (m_state == State::Query) return query_byte(address);
        if (m_state == State::Autoselect) return autoselect_byte(address);
        return m_chip[chip_address(address)];
    }

    void write(uint16_t address, uint8_t value) override {
        settle();
        if (address >= 0x8000) return;
        // The flash's WE# is on /WR: the bank registers see every write too.
        // Both controllers' registers are kept; the banking in force reads its own.
        if (address >= 0x2000 && address < 0x3000) m_bank = uint16_t((m_bank & 0x100) | value);
        if (address >= 0x3000 && address < 0x4000)
            m_bank = uint16_t((m_bank & 0xFF) | (value & 1) << 8);
        if (address >= 0x2000 && address < 0x4000) m_mbc1Low = value & 0x1F;
        if (address >= 0x4000 && address < 0x6000) m_mbc1High = value & 0x03;
        if (address >= 0x6000 && address < 0x8000) m_mbc1Mode = value & 0x01;
        command(address, value);
    }

    bool program(bool family29lv, uint16_t address, const uint8_t* data, uint32_t n) override {
        settle();
        if (family29lv != m_o.wide16 || m_eraseEnd) return false;
        for (uint32_t i = 0; i < n; ++i) {
            const uint16_t a = uint16_t(address + i);
            if (a < 0x8000) m_chip[chip_address(a)] &= data[i];  // programming only clears bits
        }
        return true;
    }

    Bytes flash() override {
        settle();
        return m_chip;
    }

    void reset() override {
        m_bank = 1;
        m_mbc1Low = 1;
        m_mbc1High = 0;
        m_mbc1Mode = 0;
        m_state = State::Read;
    }

private:
    enum class State {
        Read,
        Unlock1,
        Unlock2,
        Program,
        EraseSetup,
        EraseUnlock1,
        EraseUnlock2,
        Autoselect,
        Query
    };

    uint32_t unlock1() const { return m_o.wide16 ? 0xAAA : 0x555; }
    uint32_t unlock2() const { return m_o.wide16 ? 0x555 : 0x2AA; }
    uint32_t decode_mask() const { return m_o.wide16 ? 0xFFF : 0x7FF; }
    uint32_t query_address() const { return m_o.wide16 ? 0xAA : 0x55; }

    bool banks_as_mbc1() const {
        if (m_o.banking != FlashBanking::Auto) return m_o.banking == FlashBanking::Mbc1;
        const uint8_t type = kHeaderType < m_chip.size() ? m_chip[kHeaderType] : 0;
        return std::find(std::begin(kMbc1Types), std::end(kMbc1Types), type) !=
               std::end(kMbc1Types);
    }

    // MBC1: a low bank of 0 selects 1 in the switchable window; mode 1 shows
    // the high bits' bank (0x20, 0x40, 0x60) in the fixed window.
    uint32_t bank_at(uint16_t address) const {
        if (!banks_as_mbc1()) return address < kBankSize ? 0 : m_bank;
        if (address < kBankSize) return m_mbc1Mode ? uint32_t(m_mbc1High) << 5 : 0;
        return uint32_t(m_mbc1High) << 5 | (m_mbc1Low ? m_mbc1Low : 1);
    }

    uint32_t chip_address(uint16_t address) const {
        return (bank_at(address) * kBankSize + address % kBankSize) % m_o.size;
    }

    bool at(uint16_t address, uint32_t target) const { return (address & decode_mask()) == target; }

    void command(uint16_t address, uint8_t value) {
        if (value == kCmdReset) {
            m_state = State::Read;
            return;
        }
        switch (m_state) {
            case State::Read:
                if (at(address, unlock1()) && value == kUnlockA)
                    m_state = State::Unlock1;
                else if ((address & 0xFFF) == query_address() && value == kCmdQuery &&
                         (m_o.wide16 || m_o.query8))
                    m_state = State::Query;
                break;
            case State::Unlock1:
                m_state =
                    at(address, unlock2()) && value == kUnlockB ? State::Unlock2 : State::Read;
                break;
            case State::Unlock2:
                m_state = State::Read;
                if (!at(address, unlock1())) break;
                if (value == kCmdAutoselect) m_state = State::Autoselect;
                if (value == kCmdProgram) m_state = State::Program;
                if (value == kCmdEraseSetup) m_state = State::EraseSetup;
                break;
            case State::Program:
                m_chip[chip_address(address)] &= value;
                m_state = State::Read;
                break;
            case State::EraseSetup:
                m_state =
                    at(address, unlock1()) && value == kUnlockA ? State::EraseUnlock1 : State::Read;
                break;
            case State::EraseUnlock1:
                m_state =
                    at(address, unlock2()) && value == kUnlockB ? State::EraseUnlock2 : State::Read;
                break;
            case State::EraseUnlock2:
                if (at(address, unlock1()) && value == kCmdChipErase) start_erase(0, m_o.size);
                if (value == kCmdSectorErase) {
                    const uint32_t start = chip_address(address) / kSector * kSector;
                    start_erase(start, std::min(kSector, m_o.size - start));
                }
                m_state = State::Read;
                break;
            case State::Autoselect:
            case State::Query:
                break;
        }
    }

    void start_erase(uint32_t start, uint32_t length) {
        m_eraseStart = start;
        m_eraseLength = length;
        m_eraseEnd = now_ms() + m_o.eraseMs;
        if (m_eraseEnd == 0) m_eraseEnd = 1;
    }

    void settle() {
        if (!m_eraseEnd || now_ms() < m_eraseEnd) return;
        std::fill_n(m_chip.begin() + m_eraseStart, m_eraseLength, 0xFF);
        m_eraseEnd = 0;
    }

    uint32_t size_exponent() const {
        uint32_t n = 0;
        while ((1u << n) < m_o.size) ++n;
        return n;
    }

    uint8_t query_byte(uint16_t address) const {
        // Byte mode doubles every table offset; odd addresses carry nothing.
        const uint32_t step = m_o.wide16 ? 2 : 1;
        if (address % step) return 0x00;
        switch (address / step) {
            case 0x10:
                return 'Q';
            case 0x11:
                return 'R';
            case 0x12:
                return 'Y';
            case 0x13:
                return 0x02;  // AMD command set
            case 0x27:
                return uint8_t(size_exponent());
            default:
                return 0x00;
        }
    }

    uint16_t chip_id() const {
        if (m_o.id) return m_o.id;
        if (m_o.wide16) return kWideId;
        for (const Part& p : kParts)
            if (p.size == m_o.size) return p.id;
        return kNoPart;
    }

    uint8_t autoselect_byte(uint16_t address) const {
        if (address == 0) return uint8_t(chip_id() >> 8);
        if (address == (m_o.wide16 ? 2 : 1)) return uint8_t(chip_id());
        return 0x00;
    }

    FlashOptions m_o;
    Bytes m_chip;
    uint16_t m_bank = 1;
    uint8_t m_mbc1Low = 1, m_mbc1High = 0, m_mbc1Mode = 0;
    State m_state = State::Read;
    int64_t m_eraseEnd = 0;
    uint32_t m_eraseStart = 0;
    uint32_t m_eraseLength = 0;
};

}  // namespace

bool flash_banking_from_name(const std::string& name, FlashBanking* banking) {
    static const std::pair<const char*, FlashBanking> kNames[] = {
        {"auto", FlashBanking::Auto}, {"mbc1", FlashBanking::Mbc1}, {"mbc5", FlashBanking::Mbc5}};
    for (const auto& n : kNames)
        if (name == n.first) {
            *banking = n.second;
            return true;
        }
    return false;
}

std::unique_ptr<GbCart> make_flash_cart(const FlashOptions& options) {
    return std::make_unique<FlashCart>(options);
}

}  // namespace vboard
