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
// (plain RAM without a controller, which mGBA leaves out) are modelled here.
// clock, five bytes when given, sets an MBC3 clock's registers (seconds,
// minutes, hours, day low, day high); the modelled clock stands still.
std::unique_ptr<GbCart> make_gb_cart(Bytes rom, const Bytes& save, const Bytes& clock = {});

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

class GbaCart {
public:
    // mirror: the ROM shows again past its end, as on cartridges that decode
    // fewer address lines; else the bus floats there (open bus).
    GbaCart(Bytes rom, GbaSave kind, const Bytes& save, int eraseMs, bool mirror = false);
    // One byte of the ROM bus at a byte address.
    uint8_t rom_byte(uint32_t byteAddress) const;
    void save_read(uint32_t address, uint8_t* dest, uint32_t n);
    void save_write(uint32_t address, const uint8_t* src, uint32_t n);
    void erase();
    Bytes save();
    bool has_rom() const { return !m_rom.empty(); }

private:
    void settle();
    Bytes m_rom;
    GbaSave m_kind;
    Bytes m_save;
    int m_eraseMs;
    bool m_mirror;
    bool m_erasing = false;
    int64_t m_eraseEnd = 0;
};

int64_t now_ms();

}  // namespace vboard
