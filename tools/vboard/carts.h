// Cartridge models behind the virtual board.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vboard {

using Bytes = std::vector<uint8_t>;

// A GB/GBC cartridge as seen from the cartridge bus.
class GbCart {
public:
    virtual ~GbCart() = default;
    virtual uint8_t read(uint16_t address) = 0;
    virtual void write(uint16_t address, uint8_t value) = 0;
    // Board-side flash programming (ops 0x0E/0x0F); false when the cartridge
    // has no flash of that family and nothing was programmed.
    virtual bool program(bool family29lv, uint16_t address, const uint8_t* data, uint32_t n) {
        (void)family29lv, (void)address, (void)data, (void)n;
        return false;
    }
    // The save memory in the layout a save read through the bus produces.
    virtual Bytes save() { return {}; }
    // The flash chip's contents, for flash cartridges.
    virtual Bytes flash() { return {}; }
    // Power cycle: registers to their power-on values, memory kept.
    virtual void reset() {}
};

// Whether mGBA's address range belongs to the cartridge (ROM and external RAM).
inline bool gb_cart_address(uint16_t address) {
    return address < 0x8000 || (address >= 0xA000 && address < 0xC000);
}

// mGBA's controller emulation for every header type it knows; types 0x08/0x09
// (plain RAM without a controller, which mGBA leaves out) are modelled here,
// and so is the TAMA5's clock. clock, when given, sets the cartridge's clock:
// MBC3 five registers (seconds, minutes, hours, day low, day high), HuC-3 the
// minute of day and the day counter, TAMA5 one UNIX time. The modelled clocks
// stand still.
std::unique_ptr<GbCart> make_gb_cart(Bytes rom, const Bytes& save,
                                     const std::vector<int64_t>& clock = {});
// How many values the clock of a cartridge of this header type takes (0: none).
size_t gb_clock_values(uint8_t headerType);

// The TAMA6 clock's timer page behind a TAMA5 (see tama5_clock.cpp): the
// cartridge passes each bus access here first.
class Tama5Clock {
public:
    explicit Tama5Clock(int64_t unixSeconds);
    // Whether the write was the board's to serve (mGBA does not see it).
    bool write(uint16_t address, uint8_t value);
    bool read(uint16_t address, uint8_t* value) const;

private:
    static constexpr int kTimerRegisters = 13;
    uint8_t m_page[kTimerRegisters] = {};
    uint8_t m_regs[16] = {};
    uint8_t m_selected = 0;
    uint8_t m_out = 0;
    bool m_answering = false;
};

// No cartridge in the slot: the bus floats high.
std::unique_ptr<GbCart> make_empty_slot();

// Rewritable flash cartridge: bank registers in front of an AMD/JEDEC flash
// chip. Our model pairs the 29F family with 8-bit wiring and the 29LV family
// with 16-bit byte-mode wiring; the mapper scripts share that assumption.
enum class FlashBanking {
    Auto,  // MBC1 while the header in the chip names an MBC1 cartridge, else MBC5
    Mbc1,
    Mbc5
};
struct FlashOptions {
    uint32_t size = 0x100000;
    bool wide16 = false;  // 29LV, byte mode: unlock 0xAAA/0x555, query at 0xAA
    // 8-bit chips: whether the chip answers the query at 0x55 (Am29F016D does,
    // older 29F parts do not), and its autoselect IDs; 0 takes the real part
    // of the chip's size (Am29F010/040B/080/016/032B), or an ID no part has.
    bool query8 = false;
    uint16_t id = 0;  // manufacturer << 8 | device
    int eraseMs = 1500;
    FlashBanking banking = FlashBanking::Auto;
    Bytes contents;  // initial contents, 0xFF when empty
};
bool flash_banking_from_name(const std::string& name, FlashBanking* banking);
std::unique_ptr<GbCart> make_flash_cart(const FlashOptions& options);

// GBA save memory kinds.
enum class GbaSave { None, Sram, Flash64k, Flash128k, Eep512, Eep8k };
GbaSave gba_save_from_name(const std::string& name, bool* ok);
uint32_t gba_save_size(GbaSave kind);

// The Seiko clock on a GBA cartridge's port (see gba_clock.cpp).
class GbaClock {
public:
    GbaClock(const Bytes& rom, int64_t unixSeconds);
    ~GbaClock();
    GbaClock(const GbaClock&) = delete;
    GbaClock& operator=(const GbaClock&) = delete;
    // A 16-bit write to the cartridge space at offset (0xC4, 0xC6, 0xC8).
    void write(uint32_t offset, uint16_t value);
    // A port register while the port is readable; false where the ROM shows.
    bool read(uint32_t offset, uint16_t* value);
    int64_t time() const;  // UNIX seconds the clock shows

private:
    void watch(uint16_t pins);
    void set_time();
    Bytes m_rom;
    struct mCore* m_core = nullptr;
    bool m_readable = false;
    uint16_t m_direction = 0, m_pins = 0;
    int m_bits = 0;
    uint8_t m_command = 0;
    Bytes m_bytes;
};

class GbaCart {
public:
    // mirror: the ROM shows again past its end, as on cartridges that decode
    // fewer address lines; else the bus floats there (open bus).
    GbaCart(Bytes rom, GbaSave kind, const Bytes& save, int eraseMs, bool mirror = false);
    // One byte of the ROM bus at a byte address.
    uint8_t rom_byte(uint32_t byteAddress) const;
    // A 16-bit write to the cartridge bus (a CPU address); only a clock's port takes it.
    void bus_write(uint32_t address, uint16_t value);
    // Puts the Seiko clock on the cartridge's port, showing unixSeconds.
    void attach_clock(int64_t unixSeconds);
    void save_read(uint32_t address, uint8_t* dest, uint32_t n);
    void save_write(uint32_t address, const uint8_t* src, uint32_t n);
    // The EEPROM through the board's 6-bit (512 B) or 14-bit (8 KiB) address
    // commands. A 512 B chip sent 14 bits takes the first 6 of them (address
    // bits 13-8) as its block; an 8 KiB chip sent 6 bits is still taking its
    // address when the reads come, and answers each with 1s.
    void eeprom_read(bool wide, uint32_t address, uint8_t* dest, uint32_t n);
    void eeprom_write(bool wide, uint32_t address, const uint8_t* src, uint32_t n);
    void erase();
    Bytes save();
    bool has_rom() const { return !m_rom.empty(); }

private:
    void settle();
    Bytes m_rom;
    std::unique_ptr<GbaClock> m_clock;
    GbaSave m_kind;
    Bytes m_save;
    int m_eraseMs;
    bool m_mirror;
    bool m_erasing = false;
    int64_t m_eraseEnd = 0;
};

int64_t now_ms();

}  // namespace vboard
