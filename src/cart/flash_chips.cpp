#include "cart/flash_chips.h"

#include "cart/bus.h"

namespace gb {
namespace {

constexpr uint32_t kQueryLength = 128;
constexpr uint32_t kQueryCommand = 0x98, kResetCommand = 0xF0, kAutoselect = 0x90;
constexpr uint32_t kUnlockA = 0xAA, kUnlockB = 0x55;

// Where each wiring takes its query and finds the table: byte mode doubles
// every offset of the table.
struct QueryWiring {
    uint32_t address;
    uint32_t step;
};
constexpr QueryWiring kByteMode = {0xAA, 2}, kEightBit = {0x55, 1};
constexpr uint32_t kQ = 0x10, kR = 0x11, kY = 0x12, kSizeField = 0x27;
constexpr uint32_t kUnlock1 = 0x555, kUnlock2 = 0x2AA;  // 8-bit chips
constexpr uint32_t kManufacturerAt = 0, kDeviceAt = 1;

void write(uint32_t address, uint32_t value) {
    write_pairs(p_gb_cpu_write, {address, value});
}

// Sends the query of one wiring; true and the size field when it answered.
bool query(const QueryWiring& wiring, int* sizeExponent) {
    write(wiring.address, kQueryCommand);
    uint8_t table[kQueryLength] = {};
    p_gb_cpu_read(0, table, sizeof table);
    write(0, kResetCommand);
    const uint32_t s = wiring.step;
    if (table[kQ * s] != 'Q' || table[kR * s] != 'R' || table[kY * s] != 'Y') return false;
    *sizeExponent = table[kSizeField * s];
    return true;
}

}  // namespace

const FlashChip* flash_chip_by_id(uint8_t manufacturer, uint8_t device) {
    for (const FlashChip& chip : kFlashChips)
        if (chip.manufacturer == manufacturer && chip.device == device) return &chip;
    return nullptr;
}

FlashIdentity identify_flash_chip() {
    // A query size outside 32 KiB..128 MiB is no size a GB flash chip has.
    constexpr int kMinExponent = 15, kMaxExponent = 27;
    FlashIdentity id;
    id.wide16 = query(kByteMode, &id.sizeExponent);
    id.query = id.wide16 || query(kEightBit, &id.sizeExponent);
    if (id.query) {
        if (id.sizeExponent >= kMinExponent && id.sizeExponent <= kMaxExponent)
            id.size = 1u << id.sizeExponent;
        return id;
    }
    // What the bus shows there before: a chip that does not change it on the
    // ID command did not take the command, and is no flash chip.
    uint8_t plain[2] = {}, ids[2] = {};
    p_gb_cpu_read(kManufacturerAt, plain, sizeof plain);
    write_pairs(p_gb_cpu_write, {kUnlock1, kUnlockA, kUnlock2, kUnlockB, kUnlock1, kAutoselect});
    p_gb_cpu_read(kManufacturerAt, ids, sizeof ids);
    write(0, kResetCommand);
    id.manufacturer = ids[kManufacturerAt];
    id.device = ids[kDeviceAt];
    id.answered =
        ids[kManufacturerAt] != plain[kManufacturerAt] || ids[kDeviceAt] != plain[kDeviceAt];
    if (const FlashChip* chip = flash_chip_by_id(id.manufacturer, id.device)) {
        id.size = chip->size;
        id.name = chip->name;
        id.answered = true;
    }
    return id;
}

}  // namespace gb
